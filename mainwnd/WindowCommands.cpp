// Commands of the system menu, the tray icon and the hide button: the two menus, hiding and
// restoring the main window with every game window inside it, and bringing it forward.
#include "fw/App.h"
#include "fw/SystemLibrary.h"
#include "hotkey/HotkeySettings.h"
#include "hotkey/SettingDlg.h"
#include "maint/CacheCleaning.h"
#include "mainwnd/Ambrel3Dlg.h"
#include "mainwnd/ForeignWindows.h"
#include "mainwnd/MainWindowPosts.h"
#include "mainwnd/MainWindowRules.h"
#include "mainwnd/MenuItems.h"
#include "net/UpdateFlows.h"
#include "res/resource.h"
#include "ui/MessageBoxDlg.h"
#include "ui/MessageBoxLayout.h"

namespace vorel {

namespace {
const wchar_t kCacheCleared[] = L"缓存清除完毕！";
constexpr int kSystemMenuGap = 2;  // between the "系统" button and its menu

// The settings dialog while a menu shows it; hiding everything cancels it.
CSettingDlg* g_openSettings = nullptr;

fw::ScopedMenu BuildMenu(MenuKind kind) {
    fw::ScopedMenu menu(::CreatePopupMenu());
    if (!menu) return menu;
    for (const MenuEntry& e : MenuEntries(kind, ReadBossKeySetting())) {
        if (e.separator) {
            ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
        } else {
            ::AppendMenuW(menu.get(), MF_STRING | MF_ENABLED, static_cast<UINT_PTR>(UINT(e.id)),
                          e.text.c_str());
        }
    }
    return menu;
}
}  // namespace

void CAmbrel3Dlg::ShowSystemMenu() { RunMenu(false); }

void CAmbrel3Dlg::ShowTrayMenu() { RunMenu(true); }

void CAmbrel3Dlg::RunMenu(bool tray) {
    POINT at = {0, 0};
    UINT flags = TPM_RETURNCMD;
    HWND owner = m_hWnd;
    if (tray) {
        ::SetForegroundWindow(m_hWnd);
        ::GetCursorPos(&at);
        flags |= TPM_RIGHTALIGN | TPM_BOTTOMALIGN;
        fw::App* app = fw::App::Current();
        if (app && app->m_pMainWnd && app->m_pMainWnd->m_hWnd) owner = app->m_pMainWnd->m_hWnd;
    } else {
        RECT button = {};
        ::GetWindowRect(::GetDlgItem(m_hWnd, IDC_SYSTEM_MENU), &button);
        at.x = button.left;
        at.y = button.bottom + kSystemMenuGap;
        flags |= TPM_LEFTALIGN | TPM_TOPALIGN;
    }
    // Ready before the menu opens, gone once its command has been handled.
    CSettingDlg settings(m_hWnd);
    const fw::ScopedMenu menu = BuildMenu(tray ? MenuKind::Tray : MenuKind::System);
    if (!menu) return;
    const int chosen =
        static_cast<int>(::TrackPopupMenu(menu.get(), flags, at.x, at.y, 0, owner, nullptr));
    // A tray menu needs the foreground before it opens (or a click elsewhere does not close
    // it) and a message to its owner after it closes (or the next one closes at once).
    if (tray) ::PostMessageW(owner, WM_NULL, 0, 0);
    RunMenuCommand(chosen, settings);
}

void CAmbrel3Dlg::RunMenuCommand(int id, CSettingDlg& settings) {
    switch (id) {
        case kMenuRefresh:
            // The key filter passes it to the current page and never takes it for the
            // window-switch key.
            ::PostMessageW(m_hWnd, WM_KEYDOWN, VK_F5, static_cast<LPARAM>(kOwnMessageMark));
            break;
        case kMenuHideAll:
            ToggleHideAll();
            break;
        case kMenuClearCache:
            // Shown at once, whether or not the cleaning succeeds or has finished.
            StartCacheCleaning();
            ShowMessageBox(kMessageOk, kProductTitle, kCacheCleared, m_hWnd);
            break;
        case kMenuUpdate:
            // Answered by kMsgUpdateChecked; a second "更新" while one check runs is the same.
            if (!m_updateChecking) {
                m_updateChecking = StartMenuUpdateCheck(m_updateSetup, m_hWnd, kMsgUpdateChecked);
            }
            break;
        case kMenuSettings:
            g_openSettings = &settings;
            settings.DoModal();
            g_openSettings = nullptr;
            break;
        case kMenuExit:
            ExitAll();
            break;
        default:  // the version, or nothing chosen
            break;
    }
}

void CAmbrel3Dlg::OnUpdateChecked(bool offered) {
    m_updateChecking = false;
    // Only an update that runs closes the games.
    if (FinishMenuUpdate(offered, m_updateSetup.exePath, m_hWnd) ==
        MenuUpdateOutcome::UpdateStarted) {
        ExitAll();
    }
}

void CAmbrel3Dlg::ToggleHideAll() {
    if (!::IsWindowVisible(m_hWnd)) {
        ShowWindow(SW_RESTORE);
        BringToFront();
        return;
    }
    // The tab frames and the hall window are children: they go with the window.
    ShowWindow(SW_HIDE);
    if (m_addAccDlg.m_hWnd) m_addAccDlg.ShowWindow(SW_HIDE);
    if (m_popInfo.m_hWnd) m_popInfo.ShowWindow(SW_HIDE);
    if (g_openSettings && g_openSettings->m_hWnd && ::IsWindowVisible(g_openSettings->m_hWnd)) {
        g_openSettings->EndDialog(IDCANCEL);
    }
}

void CAmbrel3Dlg::BringToFront() {
    // Another process has the foreground; with its input attached this one may take it.
    // A hung one is neither attached to nor has the foreground taken from it: both would
    // hold this thread until it answers. The window still comes to the top.
    const bool answers = ForegroundAnswers();
    HWND foreground = ::GetForegroundWindow();
    const DWORD self = ::GetCurrentThreadId();
    const DWORD other = answers && foreground ? ::GetWindowThreadProcessId(foreground, nullptr) : 0;
    const bool attached = other && other != self && ::AttachThreadInput(self, other, TRUE);
    const UINT keep = SWP_NOMOVE | SWP_NOSIZE;
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, keep);
    ::SetWindowPos(m_hWnd, HWND_NOTOPMOST, 0, 0, 0, 0, keep);
    if (answers) ::SetForegroundWindow(m_hWnd);
    if (attached) ::AttachThreadInput(self, other, FALSE);
}

namespace {
using ChangeWindowMessageFilterExFn = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
using ChangeWindowMessageFilterFn = BOOL(WINAPI*)(UINT, DWORD);
constexpr DWORD kFilterAllow = 1;  // MSGFLT_ALLOW, and MSGFLT_ADD of the older call
}  // namespace

void CAmbrel3Dlg::ListenForTaskbarRestart() {
    // Explorer broadcasts this when it starts again, with an empty notification area.
    m_taskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");
    if (!m_taskbarCreated) return;
    // The program runs elevated: Explorer, at a lower integrity level, reaches this window only
    // through the message filter. Neither call exists on XP, which has no filter.
    if (auto allowFor = fw::SystemFunction<ChangeWindowMessageFilterExFn>(
            L"user32.dll", "ChangeWindowMessageFilterEx")) {
        allowFor(m_hWnd, m_taskbarCreated, kFilterAllow, nullptr);
    } else if (auto allow = fw::SystemFunction<ChangeWindowMessageFilterFn>(
                   L"user32.dll", "ChangeWindowMessageFilter")) {
        allow(m_taskbarCreated, kFilterAllow);
    }
}

bool CAmbrel3Dlg::OnTaskbarRestart(UINT msg) {
    if (!m_taskbarCreated || msg != m_taskbarCreated) return false;
    // The icon went with the old notification area; a window without one gets none.
    if (m_trayIconAdded) AddTrayIcon();
    return true;
}

void CAmbrel3Dlg::OnTrayNotify(LPARAM mouseMessage) {
    if (mouseMessage == WM_LBUTTONUP) {
        ToggleHideAll();
    } else if (mouseMessage == WM_RBUTTONUP) {
        ::PostMessageW(m_hWnd, kMsgShowTrayMenu, 0, 0);
    }
}

}  // namespace vorel
