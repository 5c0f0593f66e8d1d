#include "app/SettingsStore.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "app/CounterValue.h"
#include "app/TextNumber.h"

namespace vorel {

const wchar_t kIniSection[] = L"TolvVorel";

std::wstring ReadIniValue(const std::wstring& file, const wchar_t* key, const wchar_t* def,
                          size_t capacity) {
    std::vector<wchar_t> buffer(capacity, L'\0');
    GetPrivateProfileStringW(kIniSection, key, def, buffer.data(), static_cast<DWORD>(capacity),
                             file.c_str());
    buffer.back() = L'\0';
    return buffer.data();
}

void WriteIniValue(const std::wstring& file, const wchar_t* key, const wchar_t* value) {
    WritePrivateProfileStringW(kIniSection, key, value, file.c_str());
}

unsigned IncrementCounter(const wchar_t* key) {
    const std::wstring file = CounterFilePath();
    const uint32_t next = NextCounterValue(ReadIniValue(file, key, L"0", 32));
    // The product folder may not exist yet on a first run from a download folder.
    SHCreateDirectoryExW(nullptr, ProductFolderPath().c_str(), nullptr);
    WriteIniValue(file, key, FormatUnsigned(next).c_str());
    return next;
}

std::wstring ReadSetting(const wchar_t* key, const wchar_t* defaultValue, size_t capacity) {
    return ReadIniValue(BesideExePath(kIniFileName), key, defaultValue, capacity);
}

void WriteSetting(const wchar_t* key, const wchar_t* value) {
    WriteIniValue(BesideExePath(kIniFileName), key, value);
}

}  // namespace vorel
