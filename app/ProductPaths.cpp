#include "app/ProductPaths.h"

#include <windows.h>
#include <shlobj.h>

#include "app/TextNumber.h"

namespace vorel {

const wchar_t kIniFileName[] = L"Statistic.ini";

std::wstring RunningExePath() {
    wchar_t path[MAX_PATH] = L"";
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return std::wstring();
    return path;
}

std::wstring ProductFolderPath() {
    wchar_t base[MAX_PATH] = L"";
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, base)))
        base[0] = L'\0';
    std::wstring folder = base;
    folder += L"\\Vorel\\GameLogin";
    return TruncateToBuffer(folder, MAX_PATH);
}

std::wstring CounterFilePath() {
    return TruncateToBuffer(ProductFolderPath() + L"\\" + kIniFileName, MAX_PATH);
}

std::wstring BesideExePath(const wchar_t* name) {
    const std::wstring exe = RunningExePath();
    const size_t slash = exe.rfind(L'\\');
    if (slash == std::wstring::npos) return std::wstring();
    return TruncateToBuffer(exe.substr(0, slash + 1) + name, MAX_PATH);
}

}  // namespace vorel
