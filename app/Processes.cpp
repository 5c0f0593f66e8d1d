#include "app/Processes.h"

#include <windows.h>

#include <vector>

#include "app/SettingsStore.h"

namespace vorel {

std::wstring QuoteArgument(const std::wstring& path) { return L"\"" + path + L"\""; }

void RestartSelf(const wchar_t* commandLine) {
    std::wstring line = commandLine ? std::wstring(commandLine) : QuoteArgument(RunningExePath());
    // CreateProcessW may write into the command line, so it gets its own copy.
    std::vector<wchar_t> buffer(line.begin(), line.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup = {sizeof(startup)};
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process = {};
    if (CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, IDLE_PRIORITY_CLASS,
                       nullptr, nullptr, &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

}  // namespace vorel
