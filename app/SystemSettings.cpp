#include "app/SystemSettings.h"

#include <windows.h>

#include "fw/Raii.h"

namespace vorel {

namespace {
constexpr DWORD kCacheLimit = 1048576;
}  // namespace

bool SetBrowserCacheLimit() {
    HKEY raw = nullptr;
    // Opened, never created: the browser owns this key.
    if (RegOpenKeyExW(HKEY_CURRENT_USER,
                      L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\5.0\\Cache\\Content",
                      0, KEY_ALL_ACCESS, &raw) != ERROR_SUCCESS)
        return false;
    fw::ScopedRegKey key(raw);
    const DWORD limit = kCacheLimit;
    return RegSetValueExW(key.get(), L"CacheLimit", 0, REG_DWORD,
                          reinterpret_cast<const BYTE*>(&limit), sizeof(limit)) == ERROR_SUCCESS;
}

bool IsUacEnabled() {
    OSVERSIONINFOW version = {sizeof(version)};
    if (!GetVersionExW(&version) || version.dwMajorVersion <= 5) return false;
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE,
                      L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System\\", 0,
                      KEY_READ, &raw) != ERROR_SUCCESS)
        return false;
    fw::ScopedRegKey key(raw);
    DWORD value = 0, size = sizeof(value), type = 0;
    if (RegQueryValueExW(key.get(), L"EnableLUA", nullptr, &type, reinterpret_cast<BYTE*>(&value),
                         &size) != ERROR_SUCCESS ||
        type != REG_DWORD)
        return false;
    return value == 1;
}

}  // namespace vorel
