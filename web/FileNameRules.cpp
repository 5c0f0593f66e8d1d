#include "web/FileNameRules.h"

namespace vorel {

namespace {

constexpr size_t kMaxPathChars = 259;  // MAX_PATH without the NUL

wchar_t UpperAscii(wchar_t c) { return c >= L'a' && c <= L'z' ? c - L'a' + L'A' : c; }

bool IsReservedDeviceName(const std::wstring& name) {
    // The system reads the part before the first dot as the device: "nul.txt" is NUL.
    std::wstring base = name.substr(0, name.find(L'.'));
    while (!base.empty() && base.back() == L' ') base.pop_back();
    for (auto& c : base) c = UpperAscii(c);
    static const wchar_t* const kDevices[] = {L"CON", L"PRN",    L"AUX",
                                              L"NUL", L"CONIN$", L"CONOUT$"};
    for (const wchar_t* device : kDevices) {
        if (base == device) return true;
    }
    if (base.size() == 4 && (base.compare(0, 3, L"COM") == 0 || base.compare(0, 3, L"LPT") == 0) &&
        base[3] >= L'1' && base[3] <= L'9') {
        return true;
    }
    return false;
}

}  // namespace

bool IsPlainFileStem(const std::wstring& name) {
    if (name.empty()) return false;
    for (wchar_t c : name) {
        if (static_cast<unsigned long>(c) < 0x20) return false;
        switch (c) {
            case L'\\':
            case L'/':
            case L':':
            case L'*':
            case L'?':
            case L'"':
            case L'<':
            case L'>':
            case L'|':
                return false;
            default:
                break;
        }
    }
    if (name.find(L"..") != std::wstring::npos) return false;
    if (name.back() == L'.' || name.back() == L' ') return false;
    return !IsReservedDeviceName(name);
}

std::wstring JoinFilePath(const std::wstring& folder, const std::wstring& stem,
                          const wchar_t* extension) {
    std::wstring path = folder;
    path += L'\\';
    path += stem;
    path += extension ? extension : L"";
    if (path.size() > kMaxPathChars) return std::wstring();
    return path;
}

}  // namespace vorel
