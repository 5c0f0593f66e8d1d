#include "app/CrashDump.h"

#include <dbghelp.h>

#include <string>

#include "app/DumpPath.h"
#include "fw/SystemLibrary.h"

namespace vorel {

namespace {

// Set after the first attempt; a plain flag, since the filter runs on the crashing thread.
volatile LONG g_dumpWritten = 0;

using MiniDumpWriteDumpFn = BOOL(WINAPI*)(HANDLE, DWORD, HANDLE, MINIDUMP_TYPE,
                                          PMINIDUMP_EXCEPTION_INFORMATION,
                                          PMINIDUMP_USER_STREAM_INFORMATION,
                                          PMINIDUMP_CALLBACK_INFORMATION);

// Prepared at start, read by the filter.
wchar_t g_dumpPath[MAX_PATH] = L"";
MiniDumpWriteDumpFn g_writeDump = nullptr;

// Most detailed first; older debugging libraries reject the newer flags.
const MINIDUMP_TYPE kDumpTypes[] = {
    static_cast<MINIDUMP_TYPE>(0x1A25),
    static_cast<MINIDUMP_TYPE>(0x225),
    MiniDumpNormal,
};

// PROCESS_CALLBACK_FILTER_ENABLED: while set, the system swallows exceptions raised in
// callbacks from the kernel; cleared, they reach this process's handlers and its filter.
constexpr DWORD kCallbackFilterEnabled = 0x1;

void SeeExceptionsFromCallbacks() {
    using GetPolicyFn = BOOL(WINAPI*)(LPDWORD);
    using SetPolicyFn = BOOL(WINAPI*)(DWORD);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    if (!kernel) return;
    auto getPolicy = reinterpret_cast<GetPolicyFn>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "GetProcessUserModeExceptionPolicy")));
    auto setPolicy = reinterpret_cast<SetPolicyFn>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "SetProcessUserModeExceptionPolicy")));
    DWORD flags = 0;
    if (getPolicy && setPolicy && getPolicy(&flags)) setPolicy(flags & ~kCallbackFilterEnabled);
}

}  // namespace

bool WriteMiniDump(HANDLE file, EXCEPTION_POINTERS* pointers) {
    if (!g_writeDump) return false;
    MINIDUMP_EXCEPTION_INFORMATION exception;
    exception.ThreadId = GetCurrentThreadId();
    exception.ExceptionPointers = pointers;
    exception.ClientPointers = TRUE;
    for (MINIDUMP_TYPE type : kDumpTypes) {
        if (g_writeDump(GetCurrentProcess(), GetCurrentProcessId(), file, type, &exception, nullptr,
                        nullptr))
            return true;
    }
    return false;
}

LONG WINAPI CrashFilter(EXCEPTION_POINTERS* pointers) {
    if (g_dumpWritten) return EXCEPTION_EXECUTE_HANDLER;
    g_dumpWritten = 1;
    if (!g_dumpPath[0]) return EXCEPTION_CONTINUE_SEARCH;
    // No sharing: a second thread crashing meanwhile cannot open the file and writes nothing.
    HANDLE file = CreateFileW(g_dumpPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        WriteMiniDump(file, pointers);
        CloseHandle(file);
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

void InstallCrashFilter() {
    wchar_t exe[MAX_PATH] = L"";
    const DWORD n = GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring dumpPath;
    if (n > 0 && n < MAX_PATH && DumpPathForExecutable(exe, &dumpPath) &&
        dumpPath.size() < MAX_PATH)
        lstrcpynW(g_dumpPath, dumpPath.c_str(), MAX_PATH);
    // Loaded now, while the heap is sound, and only from the system folder.
    g_writeDump = fw::SystemFunction<MiniDumpWriteDumpFn>(L"dbghelp.dll", "MiniDumpWriteDump");
    SetUnhandledExceptionFilter(CrashFilter);
    SeeExceptionsFromCallbacks();
}

}  // namespace vorel
