#include "app/TextNumber.h"

namespace vorel {

namespace {
bool IsBlank(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); }
wchar_t AsciiUpperChar(wchar_t c) {
    return (c >= L'a' && c <= L'z') ? wchar_t(c - L'a' + L'A') : c;
}
}  // namespace

int32_t WideToInt(const wchar_t* text) {
    if (text == nullptr) return 0;
    const wchar_t* p = text;
    while (IsBlank(*p)) ++p;
    bool negative = false;
    if (*p == L'+' || *p == L'-') {
        negative = (*p == L'-');
        ++p;
    }
    // Accumulate in 64 bits and clamp, so no input can overflow.
    int64_t value = 0;
    const int64_t limit = negative ? int64_t(INT32_MAX) + 1 : int64_t(INT32_MAX);
    bool clamped = false;
    for (; *p >= L'0' && *p <= L'9'; ++p) {
        if (!clamped) {
            value = value * 10 + (*p - L'0');
            if (value >= limit) {
                value = limit;
                clamped = true;
            }
        }
    }
    return static_cast<int32_t>(negative ? -value : value);
}

int32_t WideToLong(const wchar_t* text) { return WideToInt(text); }

std::wstring FormatUnsigned(uint32_t value) { return FormatInteger(value); }

std::wstring FormatInteger(int64_t value) {
    // The magnitude in unsigned arithmetic, so that INT64_MIN does not overflow.
    uint64_t magnitude =
        value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    wchar_t digits[21];
    int n = 0;
    do {
        digits[n++] = wchar_t(L'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    std::wstring out;
    if (value < 0) out.push_back(L'-');
    while (n > 0) out.push_back(digits[--n]);
    return out;
}

std::wstring TruncateToBuffer(const std::wstring& text, size_t capacity) {
    if (capacity == 0) return std::wstring();
    // Text after an embedded terminator never reaches a C buffer either.
    std::wstring visible = text.substr(0, text.find(L'\0'));
    if (visible.size() > capacity - 1) visible.resize(capacity - 1);
    return visible;
}

std::wstring AsciiUpper(std::wstring text) {
    for (auto& c : text) c = AsciiUpperChar(c);
    return text;
}

bool EqualsIgnoreAsciiCase(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiUpperChar(a[i]) != AsciiUpperChar(b[i])) return false;
    return true;
}

}  // namespace vorel
