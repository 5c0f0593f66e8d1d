// The main window's two pop-up menus, opened as the player opens them (the "系统" button, a
// right click on the tray icon) and answered with the keyboard inside the menu's own loop.
#include "app/SettingsStore.h"
#include "hotkey/SettingDlg.h"
#include "mainwnd/MenuItems.h"
#include "support/MainWindowTestSupport.h"
#include "support/MenuTestSupport.h"
#include "support/PublisherTestSupport.h"
#include "support/ServedFiles.h"
#include "support/TimerSteps.h"

using namespace mwtest;
using namespace testsupport;

namespace {

vorel::CSettingDlg* VisibleSettingsDialog() {
    return testsupport::WindowOfThisThread<vorel::CSettingDlg>(true);
}

const std::vector<std::wstring> kCommonTexts = {L"刷新 (F5)", L"",     L"清除缓存",
                                                L"-",         L"更新", L"设置..."};

std::vector<std::wstring> Expected(const std::wstring& hideText, const std::wstring& last) {
    std::vector<std::wstring> texts = kCommonTexts;
    texts[1] = hideText;
    texts.push_back(last);
    return texts;
}

}  // namespace

TEST_F(MenuTest, TheSystemMenuOpensUnderItsButtonWithTheStoredBossKeyAndItsVersionDoesNothing) {
    BoxAnswerer boxes;
    StoreHotkey(L"ShortKey", L"6,81");
    LogIn(m_first, kAlice);
    {
        MenuDriver menu(vorel::kMenuVersion);
        OpenSystemMenu();
        ASSERT_TRUE(menu.Seen());
        EXPECT_EQ(menu.Texts(), Expected(L"隐藏/恢复(Ctrl  +  Shift  +  Q)", L"版本号: 3.0.0.1"));
        const std::vector<int> ids = {1, 2, 3, 0, 4, 5, -1};
        for (size_t i = 0; i < menu.Items().size() && i < ids.size(); ++i) {
            if (menu.Items()[i].separator) continue;
            EXPECT_EQ(menu.Items()[i].id, ids[i]) << i;
            EXPECT_TRUE(menu.Items()[i].enabled) << i;
        }
        RECT button;
        GetWindowRect(GetDlgItem(Main(), IDC_SYSTEM_MENU), &button);
        EXPECT_EQ(menu.Rect().left, button.left);
        EXPECT_EQ(menu.Rect().top, button.bottom + 2);
    }
    // The version was chosen: nothing asked, hidden, refreshed or ended.
    Pump(300);
    EXPECT_TRUE(boxes.seen().empty());
    EXPECT_TRUE(IsWindowVisible(Main()));
    EXPECT_TRUE(m_first.LineStartingWith(L"keydown").empty());
    EXPECT_FALSE(m_quit);

    // Read again at every opening: a boss key switched off shows "无".
    StoreHotkey(L"ShortKey", L"4,0");
    MenuDriver dismissed(0);
    OpenSystemMenu();
    ASSERT_TRUE(dismissed.Seen());
    EXPECT_EQ(dismissed.Texts()[1], L"隐藏/恢复(无)");
    EXPECT_TRUE(IsWindowVisible(Main()));
}

TEST_F(MenuTest, TheTrayMenuEndsAtTheCursorAndItsExitEndsEverythingWithoutTheQuestion) {
    BoxAnswerer boxes;
    LogIn(m_first, kAlice);
    StandIn bob = AddTab(kBob);
    ASSERT_TRUE(m_dlg->TrayIconAdded());
    // The cursor stays where it is: a moved one reaches Wine's idea of it only later.
    MenuDriver menu(vorel::kMenuExit);
    RightClickTray();
    ASSERT_TRUE(WaitUntil([&] { return m_quit; })) << "the tray menu's exit did not end the window";
    ASSERT_TRUE(menu.Seen());
    EXPECT_EQ(menu.Texts(), Expected(L"隐藏/恢复(F10)", L"退出"));
    EXPECT_EQ(menu.Items().back().id, vorel::kMenuExit);
    // Its bottom-right corner at the cursor.
    EXPECT_EQ(menu.Rect().right, menu.Cursor().x);
    EXPECT_EQ(menu.Rect().bottom, menu.Cursor().y);
    EXPECT_TRUE(boxes.seen().empty());
    for (const StandIn* s : {&m_first, &bob}) {
        EXPECT_TRUE(s->WaitForLine(L"close 0", 5000, Pumping()));
    }
    EXPECT_FALSE(m_dlg->TrayIconAdded());
}

TEST_F(MenuTest, ABroadcastTaskbarCreatedAddsTheLostTrayIconAgain) {
    LogIn(m_first, kAlice);
    ASSERT_TRUE(m_dlg->TrayIconAdded());
    NOTIFYICONDATAW icon = {};
    icon.cbSize = sizeof(icon);
    icon.hWnd = Main();
    icon.uID = 1;
    icon.uFlags = NIF_TIP;
    lstrcpynW(icon.szTip, L"Vorel - Tolv", ARRAYSIZE(icon.szTip));
    // Explorer restarted: its new notification area knows no icon of ours.
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &icon));
    ASSERT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &icon)) << "the icon is still there";
    // What the new Explorer broadcasts to every top-level window.
    PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return Shell_NotifyIconW(NIM_MODIFY, &icon) != FALSE; }))
        << "the icon did not come back";
    EXPECT_TRUE(m_dlg->TrayIconAdded());
}

TEST_F(MenuTest, HidingCancelsTheOpenSettingsDialogAndRestoringDoesNotBringItBack) {
    LogIn(m_first, kAlice);
    StandIn bob = AddTab(kBob);
    // The new-tab choice, open, goes with the hiding too.
    PostMessageW(Main(), WM_COMMAND, MAKEWPARAM(IDC_ACCOUNT_LINK, STN_CLICKED),
                 LPARAM(GetDlgItem(Main(), IDC_ACCOUNT_LINK)));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(m_dlg->NewTabChoice().m_hWnd) != FALSE; }));

    vorel::CSettingDlg* settings = nullptr;
    HWND settingsWindow = nullptr;
    bool hiddenWhileOpen = false;
    testsupport::TimerSteps steps({
        [&] {
            settings = VisibleSettingsDialog();
            if (!settings) return false;
            settingsWindow = settings->m_hWnd;
            // Backspace in the boss row: OK would now store "0,0".
            HWND edit = GetDlgItem(settingsWindow, IDC_BOSS_EDIT);
            SetFocus(edit);
            PostMessageW(edit, WM_KEYDOWN, VK_BACK, 0x000E0001);
            return true;
        },
        [&] {
            wchar_t text[32] = L"";
            GetDlgItemTextW(settingsWindow, IDC_BOSS_EDIT, text, 32);
            if (std::wstring(text) != L"无") return false;
            LeftClickTray();
            return true;
        },
        [&] {
            hiddenWhileOpen = !IsWindowVisible(Main());
            return true;
        },
    });
    MenuDriver menu(vorel::kMenuSettings);
    OpenSystemMenu();  // returns when the dialog has ended
    ASSERT_TRUE(menu.Seen());
    ASSERT_TRUE(settingsWindow) << "the settings dialog did not open";
    EXPECT_FALSE(IsWindow(settingsWindow));
    EXPECT_FALSE(IsWindowVisible(Main()));
    EXPECT_FALSE(IsWindowVisible(bob.Frame()));
    EXPECT_FALSE(IsWindowVisible(m_dlg->NewTabChoice().m_hWnd));
    // Cancelled: nothing stored, no game window told to read its hotkeys.
    EXPECT_EQ(ReadIniValue(Ini(), L"TolvVorel", L"ShortKey"), L"<missing>");
    Pump(300);
    EXPECT_FALSE(bob.HasLine(L"hotkeys"));

    LeftClickTray();
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(Main()) != FALSE; }));
    EXPECT_TRUE(IsWindowVisible(bob.Frame()));
    EXPECT_EQ(VisibleSettingsDialog(), nullptr);
    EXPECT_FALSE(IsWindowVisible(m_dlg->NewTabChoice().m_hWnd));
    EXPECT_TRUE(IsWindowEnabled(Main()));
}

TEST_F(MenuTest, RefreshPostsTheProgramsOwnF5WhichIsNeverTakenForTheSwitchKey) {
    StoreHotkey(L"AltWndKey", L"0,116");  // F5 switches tabs
    PostMessageW(Main(), vorel::kMsgHotkeysChanged, 0, 0);
    LogIn(m_first, kAlice);
    StandIn bob = AddTab(kBob);
    ASSERT_EQ(m_dlg->CurrentTab(), 1);
    {
        MenuDriver menu(vorel::kMenuRefresh);
        OpenSystemMenu();
        ASSERT_TRUE(menu.Seen());
    }
    EXPECT_TRUE(bob.WaitForLine(L"keydown 116 7261", 5000, Pumping()));
    EXPECT_EQ(m_dlg->CurrentTab(), 1);
    // The player's own F5 is the switch key here.
    PostMessageW(Main(), WM_KEYDOWN, VK_F5, 0x003F0001);
    EXPECT_TRUE(WaitUntil([&] { return m_dlg->CurrentTab() == 0; }));
    Pump(200);
    EXPECT_TRUE(bob.LineStartingWith(L"keydown 116 4128769").empty());
    EXPECT_TRUE(m_first.LineStartingWith(L"keydown").empty());
}

TEST_F(MenuTest, ClearingTheCacheShowsItsMessageAtOnce) {
    BoxAnswerer boxes;
    LogIn(m_first, kAlice);
    MenuDriver menu(vorel::kMenuClearCache);
    RightClickTray();
    ASSERT_TRUE(WaitUntil([&] { return !boxes.seen().empty(); }));
    EXPECT_EQ(boxes.seen().front().type, vorel::kMessageOk);
    EXPECT_EQ(boxes.seen().front().text, L"缓存清除完毕！");
    EXPECT_TRUE(IsWindowVisible(Main()));
    EXPECT_FALSE(m_quit);
}

// Not a test: the two menus open, for scripts/menu-shots.sh.
TEST_F(MenuTest, AnUpdateWhoseRunCannotStartClosesNothingAndTheCheckNeverHoldsTheWindow) {
    BoxAnswerer boxes;
    LogIn(m_first, kAlice);
    TempFolder dir;
    const std::wstring exe = dir.File(L"TolvVorel.exe");
    // Readable, so that its key differs from the announced one, but no program.
    ASSERT_TRUE(WriteFileBytes(exe, "not a program"));
    const std::string configPath = TestPath("update/ConfigTolvVorel.htm");
    const std::string config =
        UpdateConfig("00000000000000000000000000003001", L"http://localhost/x.exe");
    PublisherFault slow(configPath, "{\"delay\": 2, \"body\": " + JsonString(config) + "}");
    m_dlg->m_updateSetup.configUrl = PublisherUrl(Widen(configPath));
    m_dlg->m_updateSetup.configFile = dir.File(L"ConfigTolvVorel.htm");
    m_dlg->m_updateSetup.exePath = exe;

    MenuDriver menu(vorel::kMenuUpdate);
    const DWORD start = GetTickCount();
    OpenSystemMenu();
    const DWORD handled = GetTickCount() - start;
    ASSERT_TRUE(menu.Seen());
    EXPECT_LT(handled, 1500u) << "the menu's command waited for the server";
    ASSERT_TRUE(WaitUntil([&] { return !LogEntriesFor(configPath).empty(); }, 15000));
    Pump(1500);
    EXPECT_FALSE(m_quit) << "the games were closed for an update that never started";
    EXPECT_EQ(m_dlg->TabCount(), 1);
    EXPECT_TRUE(boxes.seen().empty()) << "neither 'up to date' nor anything else is claimed";
}
