// Leaves a minidump beside the executable when the process crashes.
#pragma once
#include <windows.h>

namespace vorel {

// The unhandled-exception filter: writes one dump, then lets the system's crash handling
// go on; a second crash in the same process ends it at once without another dump.
LONG WINAPI CrashFilter(EXCEPTION_POINTERS* pointers);

// Writes a dump of this process into an open file, asking for the most detailed kind first.
bool WriteMiniDump(HANDLE file, EXCEPTION_POINTERS* pointers);

void InstallCrashFilter();

}  // namespace vorel
