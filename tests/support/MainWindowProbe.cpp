#include "support/MainWindowProbe.h"

#include <shellapi.h>

#include <vector>

#include "support/InstallScenario.h"
#include "support/StandIn.h"

namespace testsupport {

namespace {
constexpr int kMessageButton1 = 5000;
constexpr int kMessageButton2 = 5001;

struct Search {
    DWORD pid;
    bool wantMessageBox;
    HWND found;
};

BOOL CALLBACK Visit(HWND wnd, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    if (pid != search->pid) return TRUE;
    wchar_t className[32] = L"";
    GetClassNameW(wnd, className, 32);
    if (std::wstring(className) != L"#32770") return TRUE;
    if (search->wantMessageBox) {
        if (IsWindowVisible(wnd) && GetDlgItem(wnd, kMessageButton1)) {
            search->found = wnd;
            return FALSE;
        }
        return TRUE;
    }
    wchar_t title[64] = L"";
    GetWindowTextW(wnd, title, 64);
    // Visible once its initialisation is over (the dialog manager shows it then).
    if (std::wstring(title) == L"Vorel - Tolv" && !GetWindow(wnd, GW_OWNER) &&
        !GetDlgItem(wnd, kMessageButton1) && IsWindowVisible(wnd)) {
        search->found = wnd;
        return FALSE;
    }
    return TRUE;
}

HWND Find(DWORD pid, bool messageBox) {
    Search search = {pid, messageBox, nullptr};
    EnumWindows(&Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
}  // namespace

HWND FindMainWindow(DWORD pid) { return Find(pid, false); }

HWND WaitForMainWindow(DWORD pid, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitFor([&] { return (found = FindMainWindow(pid)) != nullptr; }, timeoutMs);
    return found;
}

HWND WaitForLoginOf(HWND mainWindow, DWORD timeoutMs) {
    DWORD mainPid = 0;
    GetWindowThreadProcessId(mainWindow, &mainPid);
    HWND login = nullptr;
    WaitFor(
        [&] {
            for (DWORD id : LauncherProcessIds()) {
                if (id == mainPid) continue;
                HWND dialog = WaitForDialogOf(id, 50);
                if (dialog && GetWindow(dialog, GW_OWNER) == mainWindow) login = dialog;
            }
            return login != nullptr;
        },
        timeoutMs);
    return login;
}

HWND FindMessageBox(DWORD pid) { return Find(pid, true); }

HWND WaitForMessageBox(DWORD pid, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitFor([&] { return (found = FindMessageBox(pid)) != nullptr; }, timeoutMs);
    return found;
}

int MessageBoxButtonCount(HWND box) {
    return (GetDlgItem(box, kMessageButton1) ? 1 : 0) + (GetDlgItem(box, kMessageButton2) ? 1 : 0);
}

void ClickMessageBoxButton(HWND box, int id) {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
}

bool FillsWorkArea(HWND wnd) {
    RECT work, r;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(wnd, &r);
    return r.left == work.left && r.top == work.top && r.right == work.right &&
           r.bottom >= work.bottom && r.bottom <= GetSystemMetrics(SM_CYSCREEN);
}

bool TrayIconPresent(HWND mainWindow) {
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof(data);
    data.hWnd = mainWindow;
    data.uID = 1;
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

ProcessResult RunClosingMainWindow(const std::wstring& commandLine, DWORD timeoutMs) {
    ProcessResult result;
    HANDLE process = nullptr;
    DWORD pid = 0;
    if (!StartProcess(commandLine, &process, &pid)) return result;
    result.started = true;
    const DWORD start = GetTickCount();
    HWND closed = nullptr;
    for (;;) {
        if (WaitForSingleObject(process, 50) == WAIT_OBJECT_0) {
            result.finished = true;
            GetExitCodeProcess(process, &result.exitCode);
            break;
        }
        if (GetTickCount() - start > timeoutMs) {
            TerminateProcess(process, 1);
            WaitForSingleObject(process, 5000);
            break;
        }
        HWND main = FindMainWindow(pid);
        if (main && main != closed) {
            PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
            closed = main;
        }
    }
    CloseHandle(process);
    return result;
}

}  // namespace testsupport
