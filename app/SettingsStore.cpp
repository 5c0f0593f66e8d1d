#include "app/SettingsStore.h"

#include <shlobj.h>

#include <cstdlib>
#include <vector>

#include "app/CounterValue.h"
#include "app/TextNumber.h"
#include "app/UpdateSchedule.h"
#include "fw/Raii.h"

namespace vorel {

const wchar_t kIniSection[] = L"TolvVorel";
const wchar_t kIniFileName[] = L"Statistic.ini";
const wchar_t kProductRegKey[] = L"Software\\Vorel\\GameLogin\\TolvVorel";

namespace {

constexpr DWORD kCacheLimit = 1048576;

std::wstring ReadIni(const std::wstring& file, const wchar_t* key, const wchar_t* def,
                     size_t capacity) {
    std::vector<wchar_t> buffer(capacity, L'\0');
    GetPrivateProfileStringW(kIniSection, key, def, buffer.data(), static_cast<DWORD>(capacity),
                             file.c_str());
    buffer.back() = L'\0';
    return buffer.data();
}

// The key is created when absent, and closed again after every access.
fw::ScopedRegKey OpenProductKey(REGSAM access) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kProductRegKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        access, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return fw::ScopedRegKey();
    return fw::ScopedRegKey(key);
}

// Reads a binary value into a zeroed buffer; a missing or short value leaves zeros.
void ReadBinaryValue(HKEY key, const wchar_t* name, void* data, DWORD size) {
    ZeroMemory(data, size);
    std::vector<BYTE> buffer(size);
    DWORD got = size;
    DWORD type = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, buffer.data(), &got) == ERROR_SUCCESS &&
        type == REG_BINARY)
        CopyMemory(data, buffer.data(), got < size ? got : size);
}

}  // namespace

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

unsigned IncrementCounter(const wchar_t* key) {
    const std::wstring file = CounterFilePath();
    const uint32_t next = NextCounterValue(ReadIni(file, key, L"0", 32));
    // The product folder may not exist yet on a first run from a download folder.
    SHCreateDirectoryExW(nullptr, ProductFolderPath().c_str(), nullptr);
    WritePrivateProfileStringW(kIniSection, key, FormatUnsigned(next).c_str(), file.c_str());
    return next;
}

std::wstring ReadSetting(const wchar_t* key, const wchar_t* defaultValue, size_t capacity) {
    return ReadIni(BesideExePath(kIniFileName), key, defaultValue, capacity);
}

void WriteSetting(const wchar_t* key, const wchar_t* value) {
    WritePrivateProfileStringW(kIniSection, key, value, BesideExePath(kIniFileName).c_str());
}

bool ReadUpdateTime(SYSTEMTIME* time) {
    ZeroMemory(time, sizeof(*time));
    fw::ScopedRegKey key = OpenProductKey(KEY_READ);
    if (!key) return false;
    ReadBinaryValue(key.get(), L"UpdTime", time, sizeof(*time));
    return true;
}

void WriteUpdateTime() {
    fw::ScopedRegKey key = OpenProductKey(KEY_WRITE);
    if (!key) return;
    SYSTEMTIME now;
    GetSystemTime(&now);
    RegSetValueExW(key.get(), L"UpdTime", 0, REG_BINARY, reinterpret_cast<const BYTE*>(&now),
                   sizeof(now));
}

bool IsUpdateDisabledToday(unsigned dayOfWeek) {
    fw::ScopedRegKey key = OpenProductKey(KEY_READ);
    if (!key) return false;
    uint8_t bytes[4];
    ReadBinaryValue(key.get(), L"DisableDays", bytes, sizeof(bytes));
    return IsDayDisabled(DisableDaysFromBytes(bytes), dayOfWeek);
}

bool IsDailyUpdateCheckDue() {
    SYSTEMTIME last;
    const bool opened = ReadUpdateTime(&last);
    SYSTEMTIME now;
    GetSystemTime(&now);
    return IsUpdateCheckDue(opened, {last.wYear, last.wMonth, last.wDay},
                            {now.wYear, now.wMonth, now.wDay}, IsUpdateDisabledToday(now.wDayOfWeek));
}

void WriteDisableDays() {
    fw::ScopedRegKey key = OpenProductKey(KEY_WRITE);
    if (!key) return;
    SYSTEMTIME now;
    GetSystemTime(&now);
    const uint32_t r1 = static_cast<uint32_t>(std::rand());
    const uint32_t r2 = static_cast<uint32_t>(std::rand());
    const uint32_t days = PickDisableDays(now.wMilliseconds, r1, r2);
    const BYTE bytes[4] = {BYTE(days), BYTE(days >> 8), BYTE(days >> 16), BYTE(days >> 24)};
    RegSetValueExW(key.get(), L"DisableDays", 0, REG_BINARY, bytes, sizeof(bytes));
}

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
