// The program's persistent state: "Statistic.ini" (counters in the product folder, settings
// beside the executable) and the registry key that paces the update check.
#pragma once
#include <windows.h>

#include <string>

namespace vorel {

extern const wchar_t kIniSection[];      // "TolvVorel"
extern const wchar_t kIniFileName[];     // "Statistic.ini"
extern const wchar_t kProductRegKey[];   // under HKEY_LOCAL_MACHINE

// The machine-wide application-data folder joined with "\Vorel\GameLogin".
std::wstring ProductFolderPath();
// "Statistic.ini" in the product folder.
std::wstring CounterFilePath();
// A file of that name in the running executable's folder; empty when the executable's
// path holds no backslash.
std::wstring BesideExePath(const wchar_t* name);
std::wstring RunningExePath();

// Reads the key from the counter file, adds one, writes it back with "%u" and returns it.
unsigned IncrementCounter(const wchar_t* key);

// A text from the settings file beside the executable, read into `capacity` characters.
std::wstring ReadSetting(const wchar_t* key, const wchar_t* defaultValue, size_t capacity);
void WriteSetting(const wchar_t* key, const wchar_t* value);

// "UpdTime": the UTC time of the last applied update; all zero when absent or unreadable.
// Returns false only when the registry key could not be opened.
bool ReadUpdateTime(SYSTEMTIME* time);
void WriteUpdateTime();

bool IsUpdateDisabledToday(unsigned dayOfWeek);
// The daily gate of the automatic update check.
bool IsDailyUpdateCheckDue();
void WriteDisableDays();

bool SetBrowserCacheLimit();
// User-account control counts as on when "EnableLUA" reads 1 on Windows 6 and later.
bool IsUacEnabled();

}  // namespace vorel
