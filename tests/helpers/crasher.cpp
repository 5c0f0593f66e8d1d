// Crashes on purpose with the program's crash filter installed.
//   crasher.exe once   - one unhandled access violation
//   crasher.exe twice  - a first crash handled by the filter, then a real unhandled one
#include <windows.h>

#include <cwchar>

#include "app/CrashDump.h"

namespace {
void Crash() {
    volatile int* nowhere = nullptr;
    *nowhere = 7261;
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    vorel::InstallCrashFilter();
    if (argc > 1 && std::wcscmp(argv[1], L"twice") == 0) {
        CONTEXT context = {};
        RtlCaptureContext(&context);
        EXCEPTION_RECORD record = {};
        record.ExceptionCode = EXCEPTION_BREAKPOINT;
        EXCEPTION_POINTERS pointers = {&record, &context};
        // The first crash, as the system would report it; its dump is renamed so that any
        // dump of the second crash would be seen.
        if (vorel::CrashFilter(&pointers) != EXCEPTION_CONTINUE_SEARCH) return 3;
        wchar_t exe[MAX_PATH];
        GetModuleFileNameW(nullptr, exe, MAX_PATH);
        wchar_t* dot = std::wcsrchr(exe, L'.');
        std::wcscpy(dot, L".dmp");
        wchar_t renamed[MAX_PATH];
        std::wcscpy(renamed, exe);
        std::wcscpy(std::wcsrchr(renamed, L'.'), L".first.dmp");
        DeleteFileW(renamed);
        if (!MoveFileW(exe, renamed)) return 4;
    }
    Crash();
    return 0;
}
