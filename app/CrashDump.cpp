#include "app/CrashDump.h"

#include <dbghelp.h>

#include <string>

#include "app/DumpPath.h"
#include "fw/Raii.h"

namespace vorel {

namespace {

// Set after the first attempt; a plain flag, since the filter runs on the crashing thread.
volatile LONG g_dumpWritten = 0;

using MiniDumpWriteDumpFn = BOOL(WINAPI*)(HANDLE, DWORD, HANDLE, MINIDUMP_TYPE,
                                          PMINIDUMP_EXCEPTION_INFORMATION,
                                          PMINIDUMP_USER_STREAM_INFORMATION,
                                          PMINIDUMP_CALLBACK_INFORMATION);

// Most detailed first; older debugging libraries reject the newer flags.
const MINIDUMP_TYPE kDumpTypes[] = {
    static_cast<MINIDUMP_TYPE>(0x1A25),
    static_cast<MINIDUMP_TYPE>(0x225),
    MiniDumpNormal,
};

}  // namespace

bool WriteMiniDump(HANDLE file, EXCEPTION_POINTERS* pointers) {
    MINIDUMP_EXCEPTION_INFORMATION exception;
    exception.ThreadId = GetCurrentThreadId();
    exception.ExceptionPointers = pointers;
    exception.ClientPointers = TRUE;

    // Loaded only now: the library is not needed unless the process crashes.
    fw::ScopedLibrary dbghelp(LoadLibraryW(L"DbgHelp.dll"));
    if (!dbghelp) return false;
    auto write = reinterpret_cast<MiniDumpWriteDumpFn>(
        reinterpret_cast<void*>(GetProcAddress(dbghelp.get(), "MiniDumpWriteDump")));
    if (!write) return false;
    for (MINIDUMP_TYPE type : kDumpTypes) {
        if (write(GetCurrentProcess(), GetCurrentProcessId(), file, type, &exception, nullptr,
                  nullptr))
            return true;
    }
    return false;
}

LONG WINAPI CrashFilter(EXCEPTION_POINTERS* pointers) {
    if (g_dumpWritten) return EXCEPTION_EXECUTE_HANDLER;

    wchar_t exe[MAX_PATH] = L"";
    DWORD n = GetModuleFileNameW(nullptr, exe, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return EXCEPTION_CONTINUE_SEARCH;
    std::wstring dumpPath;
    if (!DumpPathForExecutable(exe, &dumpPath)) return EXCEPTION_CONTINUE_SEARCH;

    // No sharing: a second thread crashing meanwhile cannot open the file and writes nothing.
    fw::ScopedHandle file(CreateFileW(dumpPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) WriteMiniDump(file.get(), pointers);
    file.reset();
    g_dumpWritten = 1;
    return EXCEPTION_CONTINUE_SEARCH;
}

void InstallCrashFilter() { SetUnhandledExceptionFilter(CrashFilter); }

}  // namespace vorel
