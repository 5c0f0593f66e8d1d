// The registry key that paces the automatic update check: the time of the last applied
// update and the weekdays on which no check runs.
#pragma once
#include <windows.h>

namespace vorel {

extern const wchar_t kProductRegKey[];  // under HKEY_LOCAL_MACHINE

// "UpdTime": the UTC time of the last applied update; all zero when absent or unreadable.
// Returns false only when the registry key could not be opened.
bool ReadUpdateTime(SYSTEMTIME* time);
void WriteUpdateTime();

bool IsUpdateDisabledToday(unsigned dayOfWeek);
// The daily gate of the automatic update check.
bool IsDailyUpdateCheckDue();
void WriteDisableDays();

}  // namespace vorel
