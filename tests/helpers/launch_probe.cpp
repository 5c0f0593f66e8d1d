// Stands in for a program the launcher starts (a new build after an update, a downloaded
// installer): records that it ran, and with which command line, in "<its path>.started.txt".
#include <windows.h>

#include <string>

int wmain() {
    wchar_t exe[MAX_PATH] = L"";
    if (!GetModuleFileNameW(nullptr, exe, MAX_PATH)) return 1;
    const std::wstring marker = std::wstring(exe) + L".started.txt";
    const wchar_t* line = GetCommandLineW();
    char text[4096] = "";
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, line, -1, text, sizeof(text), nullptr, nullptr);
    HANDLE file = CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 2;
    DWORD written = 0;
    WriteFile(file, text, size > 0 ? DWORD(size - 1) : 0, &written, nullptr);
    CloseHandle(file);
    return 0;
}
