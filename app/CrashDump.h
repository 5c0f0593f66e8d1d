// Leaves a minidump beside the executable when the process crashes.
#pragma once
#include <windows.h>

namespace vorel {

// The unhandled-exception filter: writes one dump, then lets the system's crash handling
// go on; a second crash in the same process ends it at once without another dump. It takes
// nothing from the heap, which is often what the crash has broken: its path and the dump
// function are prepared by InstallCrashFilter.
LONG WINAPI CrashFilter(EXCEPTION_POINTERS* pointers);

// Writes a dump of this process into an open file, asking for the most detailed kind first.
// False before InstallCrashFilter or without the system's debugging library.
bool WriteMiniDump(HANDLE file, EXCEPTION_POINTERS* pointers);

// Prepares the dump's path and the system folder's DbgHelp, installs the filter, and where the
// system offers it asks to see exceptions raised in window procedures called back from the
// kernel: a 32-bit process on 64-bit Windows otherwise loses them silently.
void InstallCrashFilter();

}  // namespace vorel
