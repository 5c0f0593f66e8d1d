#include "app/Processes.h"

#include <windows.h>

#include <vector>

#include "app/SettingsStore.h"
#include "fw/Raii.h"

namespace vorel {

std::wstring QuoteArgument(const std::wstring& path) { return L"\"" + path + L"\""; }

void RestartSelf(const wchar_t* commandLine) {
    StartProgramProcess(commandLine ? std::wstring(commandLine) : QuoteArgument(RunningExePath()));
}

bool StartProgramProcess(const std::wstring& commandLine) {
    // CreateProcessW may write into the command line, so it gets its own copy.
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup = {sizeof(startup)};
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, IDLE_PRIORITY_CLASS,
                        nullptr, nullptr, &startup, &process))
        return false;
    fw::ScopedHandle thread(process.hThread), started(process.hProcess);  // not waited for
    return true;
}

}  // namespace vorel
