#include "support/InstallScenario.h"

#include <shlobj.h>
#include <tlhelp32.h>

#include "fw/Raii.h"
#include "support/MainWindowProbe.h"
#include "support/WinTestSupport.h"

namespace testsupport {

namespace {

std::wstring Folder(int csidl) {
    wchar_t path[MAX_PATH] = L"";
    SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

BOOL CALLBACK FindDialog(HWND wnd, LPARAM param) {
    auto* search = reinterpret_cast<std::pair<DWORD, HWND>*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    wchar_t cls[16] = L"";
    GetClassNameW(wnd, cls, 16);
    if (pid == search->first && lstrcmpW(cls, L"#32770") == 0 && IsWindowVisible(wnd) &&
        wnd != search->second) {
        search->second = wnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

std::wstring CommonDesktopFolder() { return Folder(CSIDL_COMMON_DESKTOPDIRECTORY); }
std::wstring StartMenuFolder() { return Folder(CSIDL_COMMON_PROGRAMS) + L"\\Vorel登录器"; }
std::wstring DesktopShortcut() { return CommonDesktopFolder() + L"\\VorelTolv登录器.lnk"; }
std::wstring StartMenuShortcut() { return StartMenuFolder() + L"\\VorelTolv登录器.lnk"; }
std::wstring UninstallShortcut() { return StartMenuFolder() + L"\\卸载 VorelTolv登录器.lnk"; }
std::wstring UserDesktopShortcut() {
    return Folder(CSIDL_DESKTOPDIRECTORY) + L"\\VorelTolv登录器.lnk";
}

ShortcutInfo ReadShortcut(const std::wstring& link) {
    ShortcutInfo info;
    fw::ScopedCoInit com;
    fw::ComPtr<IShellLinkW> shellLink;
    if (FAILED(shellLink.CreateInstance(CLSID_ShellLink))) return info;
    fw::ComPtr<IPersistFile> file;
    if (FAILED(shellLink.QueryInterface(file)) || FAILED(file->Load(link.c_str(), STGM_READ)))
        return info;
    info.loaded = true;
    wchar_t text[1024] = L"";
    if (SUCCEEDED(shellLink->GetPath(text, 1024, nullptr, SLGP_RAWPATH))) info.target = text;
    text[0] = L'\0';
    if (SUCCEEDED(shellLink->GetArguments(text, 1024))) info.arguments = text;
    text[0] = L'\0';
    if (SUCCEEDED(shellLink->GetDescription(text, 1024))) info.description = text;
    text[0] = L'\0';
    if (SUCCEEDED(shellLink->GetWorkingDirectory(text, 1024))) info.workingDirectory = text;
    text[0] = L'\0';
    int index = -1;
    if (SUCCEEDED(shellLink->GetIconLocation(text, 1024, &index))) {
        info.iconPath = text;
        info.iconIndex = index;
    }
    shellLink->GetHotkey(&info.hotKey);
    return info;
}

void RemoveLauncherShortcuts() {
    DeleteFileW(DesktopShortcut().c_str());
    DeleteFileW((CommonDesktopFolder() + L"\\七二六一网页游戏.lnk").c_str());
    DeleteFileW(UserDesktopShortcut().c_str());
    DeleteTree(StartMenuFolder());
}

std::wstring UserTempFolder() {
    wchar_t path[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, path);
    std::wstring p = path;
    if (!p.empty() && p.back() == L'\\') p.pop_back();
    return p;
}

std::vector<std::wstring> SelfDeleteBatches() {
    std::vector<std::wstring> found;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((UserTempFolder() + L"\\Del*.tmp.bat").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return found;
    do found.push_back(UserTempFolder() + L"\\" + data.cFileName);
    while (FindNextFileW(find, &data));
    FindClose(find);
    return found;
}

void RemoveSelfDeleteBatches() {
    for (const wchar_t* pattern : {L"\\Del*.tmp.bat", L"\\Del*.tmp"}) {
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW((UserTempFolder() + pattern).c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) continue;
        do DeleteFileW((UserTempFolder() + L"\\" + data.cFileName).c_str());
        while (FindNextFileW(find, &data));
        FindClose(find);
    }
}

std::vector<DWORD> LauncherProcessIds() {
    std::vector<DWORD> ids;
    fw::ScopedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return ids;
    PROCESSENTRY32W entry = {sizeof(entry)};
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        if (lstrcmpiW(entry.szExeFile, L"TolvVorel.exe") == 0) ids.push_back(entry.th32ProcessID);
    }
    return ids;
}

std::wstring ProcessImagePath(DWORD processId) {
    // Not declared for the Windows version the program targets; the tests run on newer ones.
    using QueryImageName = BOOL(WINAPI*)(HANDLE, DWORD, LPWSTR, PDWORD);
    const auto query = reinterpret_cast<QueryImageName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "QueryFullProcessImageNameW")));
    fw::ScopedHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!query || !process) return std::wstring();
    wchar_t path[MAX_PATH] = L"";
    DWORD size = MAX_PATH;
    if (!query(process.get(), 0, path, &size)) return std::wstring();
    return path;
}

void StopLauncherProcesses(DWORD graceMs) {
    // As a player would: the main windows are closed first.
    for (DWORD id : LauncherProcessIds()) {
        if (HWND main = FindMainWindow(id)) PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    if (WaitFor([] { return LauncherProcessIds().empty(); }, graceMs)) return;
    for (DWORD id : LauncherProcessIds()) EndProcess(id);
}

StartedProcess::StartedProcess(const std::wstring& commandLine) {
    StartProcess(commandLine, &m_process, &m_id);
}

StartedProcess::~StartedProcess() {
    if (!m_process) return;
    if (Running()) {
        TerminateProcess(m_process, 1);
        WaitForSingleObject(m_process, 5000);
    }
    CloseHandle(m_process);
}

bool StartedProcess::WaitForExit(DWORD timeoutMs) {
    return m_process && WaitForSingleObject(m_process, timeoutMs) == WAIT_OBJECT_0;
}

bool StartedProcess::Running() const {
    return m_process && WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT;
}

HWND WaitForDialogOf(DWORD processId, DWORD timeoutMs, HWND other) {
    std::pair<DWORD, HWND> search(processId, other);
    WaitFor(
        [&] {
            search.second = other;
            EnumWindows(&FindDialog, reinterpret_cast<LPARAM>(&search));
            return search.second != other;
        },
        timeoutMs);
    return search.second != other ? search.second : nullptr;
}

bool ClickDialogButton(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    if (!button) return false;
    DWORD_PTR result = 0;
    // The click ends the dialog inside the other process; it must not hold this one up.
    return SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
}

void SaveWindowPicture(HWND window, const std::wstring& name) {
    wchar_t folder[MAX_PATH] = L"";
    if (!GetEnvironmentVariableW(L"VOREL_SCREENSHOT_DIR", folder, MAX_PATH)) return;
    RECT r = {};
    GetWindowRect(window, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    // Painted first, so that the picture is not taken half drawn.
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(200);
    fw::ScopedGetDC screen(nullptr);
    fw::ScopedMemDC memory(screen.get());
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    fw::ScopedBitmap bitmap(
        CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap) return;
    {
        fw::ScopedSelectObject select(memory.get(), bitmap.get());
        BitBlt(memory.get(), 0, 0, w, h, screen.get(), r.left, r.top, SRCCOPY);
    }
    GdiFlush();
    const DWORD stride = ((w * 3 + 3) & ~3u);
    const DWORD imageSize = stride * h;
    BITMAPFILEHEADER header = {};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof(header) + sizeof(info.bmiHeader);
    header.bfSize = header.bfOffBits + imageSize;
    info.bmiHeader.biSizeImage = imageSize;
    std::string bytes(reinterpret_cast<const char*>(&header), sizeof(header));
    bytes.append(reinterpret_cast<const char*>(&info.bmiHeader), sizeof(info.bmiHeader));
    bytes.append(static_cast<const char*>(bits), imageSize);
    HANDLE file = CreateFileW((std::wstring(folder) + L"\\" + name + L".bmp").c_str(),
                              GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::string Narrow(const std::wstring& text) {
    if (text.empty()) return std::string();
    const int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n : 1, '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &out[0], n, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}

}  // namespace testsupport
