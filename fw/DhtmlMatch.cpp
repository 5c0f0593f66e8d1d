#include "fw/DhtmlMatch.h"

namespace fw {

namespace {
// Tag names are ASCII; folding only A-Z keeps the answer the same on every platform.
bool EqualsIgnoringAsciiCase(const std::wstring& a, const wchar_t* b) {
    size_t i = 0;
    for (; b[i]; ++i) {
        if (i >= a.size()) return false;
        wchar_t x = a[i], y = b[i];
        if (x >= L'A' && x <= L'Z') x = x - L'A' + L'a';
        if (y >= L'A' && y <= L'Z') y = y - L'A' + L'a';
        if (x != y) return false;
    }
    return i == a.size();
}
}  // namespace

int FindDhtmlBinding(const DhtmlBinding* table, size_t count, long eventId,
                     const std::wstring& className, const std::wstring& tagName) {
    if (!table) return -1;
    for (size_t i = 0; i < count; ++i) {
        const DhtmlBinding& row = table[i];
        if (row.eventId != eventId || !row.name) continue;
        const bool match = row.kind == DhtmlMatchKind::Class
                               ? className == row.name
                               : EqualsIgnoringAsciiCase(tagName, row.name);
        if (match) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace fw
