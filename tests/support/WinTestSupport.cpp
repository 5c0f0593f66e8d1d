#include "support/WinTestSupport.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <fstream>
#include <memory>
#include <sstream>

#include "fw/App.h"

namespace testsupport {

void SleepBriefly() { Sleep(20); }

bool PumpMessages(const std::function<bool()>& done, DWORD milliseconds, OnQuit onQuit,
                  bool* quitSeen) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                if (quitSeen) *quitSeen = true;
                if (onQuit == OnQuit::GoOn) continue;
                PostQuitMessage(static_cast<int>(msg.wParam));
                return done && done();
            }
            if (!fw::App::PreTranslate(&msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        if (done && done()) return true;
        if (GetTickCount() - start >= milliseconds) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void PumpBriefly() { PumpMessages(nullptr, 20, OnQuit::GoOn); }

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs, const Idle& idle) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (done()) return true;
        if (GetTickCount() - start > timeoutMs) return done();
        idle();
    }
}

std::wstring BuildDir() {
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p = path;
    return p.substr(0, p.rfind(L'\\'));
}

std::wstring InBuildDir(const std::wstring& name) { return BuildDir() + L"\\" + name; }

bool StartProcess(const std::wstring& commandLine, HANDLE* process, DWORD* id,
                  DWORD creationFlags) {
    // CreateProcessW may write into the command line.
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    STARTUPINFOW si = {sizeof(si)};
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, creationFlags, nullptr,
                        nullptr, &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    *process = pi.hProcess;
    if (id) *id = pi.dwProcessId;
    return true;
}

ProcessResult RunAndWait(const std::wstring& commandLine, DWORD timeoutMs) {
    ProcessResult result;
    HANDLE process = nullptr;
    if (!StartProcess(commandLine, &process)) return result;
    result.started = true;
    if (WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0) {
        result.finished = true;
        GetExitCodeProcess(process, &result.exitCode);
    } else {
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 5000);
    }
    CloseHandle(process);
    return result;
}

bool EndProcess(DWORD pid) {
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
    if (!process) return false;
    const bool ended =
        TerminateProcess(process, 1) && WaitForSingleObject(process, 5000) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

std::wstring ReadIniValue(const std::wstring& file, const wchar_t* section, const wchar_t* key,
                          const wchar_t* def) {
    wchar_t buffer[1024] = L"";
    GetPrivateProfileStringW(section, key, def, buffer, 1024, file.c_str());
    return buffer;
}

void WriteIniValue(const std::wstring& file, const wchar_t* section, const wchar_t* key,
                   const wchar_t* value) {
    WritePrivateProfileStringW(section, key, value, file.c_str());
}

std::vector<BYTE> ReadRegBinary(HKEY root, const wchar_t* subKey, const wchar_t* value) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
    std::vector<BYTE> data(4096);
    DWORD size = static_cast<DWORD>(data.size());
    LONG rc = RegQueryValueExW(key, value, nullptr, nullptr, data.data(), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS) return {};
    data.resize(size);
    return data;
}

bool RegValueExists(HKEY root, const wchar_t* subKey, const wchar_t* value) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    LONG rc = RegQueryValueExW(key, value, nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

void DeleteRegTree(HKEY root, const wchar_t* subKey) { SHDeleteKeyW(root, subKey); }

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadFileBytes(const std::wstring& path) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return std::string();
    std::string out;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(f, chunk, sizeof(chunk), &got, nullptr) && got > 0) out.append(chunk, got);
    CloseHandle(f);
    return out;
}

void DeleteTree(const std::wstring& path) {
    std::vector<wchar_t> from(path.begin(), path.end());
    from.push_back(L'\0');
    from.push_back(L'\0');
    SHFILEOPSTRUCTW op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.data();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationW(&op);
}

bool EnsureDir(const std::wstring& path) {
    int rc = SHCreateDirectoryExW(nullptr, path.c_str(), nullptr);
    return rc == ERROR_SUCCESS || rc == ERROR_ALREADY_EXISTS || rc == ERROR_FILE_EXISTS;
}

std::wstring CommonAppData() {
    wchar_t path[MAX_PATH] = L"";
    SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

std::wstring ProductFolder() { return CommonAppData() + L"\\Vorel\\GameLogin"; }

namespace {

struct WindowSearch {
    const std::function<bool(HWND)>* match;
    HWND found;
    std::vector<HWND>* all;  // null: stop at the first match
};

BOOL CALLBACK VisitWindow(HWND w, LPARAM p) {
    auto* s = reinterpret_cast<WindowSearch*>(p);
    if (!(*s->match)(w)) return TRUE;
    if (s->all) {
        s->all->push_back(w);
        return TRUE;
    }
    s->found = w;
    return FALSE;
}

DWORD WINAPI RunFunction(LPVOID p) {
    std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(p));
    (*body)();
    return 0;
}

}  // namespace

HWND FindWindowOfThisThread(const std::function<bool(HWND)>& match) {
    WindowSearch search{&match, nullptr, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), &VisitWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindTopLevelWindow(const std::function<bool(HWND)>& match) {
    WindowSearch search{&match, nullptr, nullptr};
    EnumWindows(&VisitWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> DescendantsOf(HWND parent, const std::function<bool(HWND)>& match) {
    std::vector<HWND> all;
    WindowSearch search{&match, nullptr, &all};
    EnumChildWindows(parent, &VisitWindow, reinterpret_cast<LPARAM>(&search));
    return all;
}

DWORD ProcessOf(HWND wnd) {
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    return pid;
}

fw::ScopedHandle StartThread(std::function<void()> body) {
    auto* owned = new std::function<void()>(std::move(body));
    HANDLE thread = CreateThread(nullptr, 0, &RunFunction, owned, 0, nullptr);
    if (!thread) delete owned;
    return fw::ScopedHandle(thread);
}

HWND VisibleDialogOfThisThread(HWND other) {
    return FindWindowOfThisThread([other](HWND w) {
        wchar_t cls[16] = L"";
        GetClassNameW(w, cls, 16);
        return w != other && IsWindowVisible(w) && lstrcmpW(cls, L"#32770") == 0;
    });
}

void PressIn(HWND dialog, int editId, int vk) {
    HWND edit = GetDlgItem(dialog, editId);
    SetFocus(edit);
    PostMessageW(edit, WM_KEYDOWN, vk, 1);
}

void HandOverToScript(const wchar_t* folderVariable, const std::wstring& signal,
                      const std::wstring& answer, DWORD timeoutMs) {
    wchar_t dir[MAX_PATH] = L"";
    if (!GetEnvironmentVariableW(folderVariable, dir, MAX_PATH)) return;
    const std::wstring folder = std::wstring(dir) + L"\\";
    HANDLE file = CreateFileW((folder + signal).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    CloseHandle(file);
    WaitFor([&] { return FileExists(folder + answer); }, timeoutMs);
}

void WaitForScreenPicture(const std::wstring& scene) {
    HandOverToScript(L"VOREL_SHOTS_DIR", scene + L".ready", scene + L".taken", 20000);
}

std::wstring PublisherLogPath() {
    wchar_t value[1024] = L"";
    DWORD n = GetEnvironmentVariableW(L"VOREL_PUBLISHER_LOG", value, 1024);
    if (n == 0 || n >= 1024) return std::wstring();
    // A Linux path: reach it through Wine's drive for the Unix root.
    std::wstring p = value;
    if (!p.empty() && p[0] == L'/') {
        for (auto& c : p)
            if (c == L'/') c = L'\\';
        p = L"Z:" + p;
    }
    return p;
}

std::vector<std::string> PublisherLogLines() {
    std::vector<std::string> lines;
    std::istringstream in(ReadFileBytes(PublisherLogPath()));
    std::string line;
    while (std::getline(in, line))
        if (!line.empty()) lines.push_back(line);
    return lines;
}

}  // namespace testsupport
