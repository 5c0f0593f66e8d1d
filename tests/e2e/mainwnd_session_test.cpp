// The real TolvVorel.exe as the player starts it from the desktop shortcut: its main window,
// with accounts logged in by stand-in game processes (the login pages cannot load here) and
// with the real "/newgm" and "/gmhall" processes of the program.
#include <gtest/gtest.h>

#include "support/InstallScenario.h"
#include "support/LauncherScenario.h"
#include "support/MainWindowProbe.h"
#include "support/MainWindowSession.h"
#include "support/ShortcutStart.h"
#include "support/StandIn.h"

using namespace testsupport;

namespace {

constexpr int kYes = 5000;
constexpr int kNo = 5001;

}  // namespace

TEST_F(MainWindowSession, ExitWithThreeTabsClosesEveryGameProcessAndTheTrayIcon) {
    RECT r;
    GetWindowRect(m_mainWnd, &r);
    EXPECT_EQ(r.right - r.left, 1);
    EXPECT_EQ(r.bottom - r.top, 1);
    EXPECT_FALSE(TrayIconPresent(m_mainWnd));

    StandIn a = LogIn(0, L"1服-龙城-alice");
    ASSERT_TRUE(WaitFor([&] { return FillsWorkArea(m_mainWnd); }, 15000));
    // The real first login is cancelled now that a tab exists: the program goes on.
    ASSERT_TRUE(CancelLoginOf(m_mainWnd));
    Sleep(500);
    EXPECT_TRUE(m_launcher->Running());
    EXPECT_TRUE(IsWindowVisible(a.Frame()));
    StandIn b = LogIn(1, L"1服-龙城-bob");
    StandIn c = LogIn(2, L"2服-凤鸣-carol");
    for (const StandIn* s : {&a, &b, &c}) {
        EXPECT_EQ(GetAncestor(s->Frame(), GA_PARENT), m_mainWnd);
        EXPECT_TRUE(s->WaitForLine(L"mute 0", 15000));
    }
    // The last one to arrive is the one shown.
    EXPECT_TRUE(IsWindowVisible(c.Frame()));
    EXPECT_FALSE(IsWindowVisible(a.Frame()));
    EXPECT_TRUE(WaitFor([&] { return TrayIconPresent(m_mainWnd); }, 15000));

    // The close button asks; "否" keeps everything.
    PostMessageW(m_mainWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    HWND box = WaitForMessageBox(m_launcher->id(), 30000);
    ASSERT_TRUE(box);
    EXPECT_EQ(MessageBoxButtonCount(box), 2);
    ClickMessageBoxButton(box, kNo);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }, 15000));
    Sleep(500);
    EXPECT_TRUE(m_launcher->Running());
    for (const StandIn* s : {&a, &b, &c}) EXPECT_TRUE(s->Running());

    // "是": every tab's process is asked to close and ends, the tray icon goes, the program
    // ends.
    PostMessageW(m_mainWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    box = WaitForMessageBox(m_launcher->id(), 30000);
    ASSERT_TRUE(box);
    ClickMessageBoxButton(box, kYes);
    EXPECT_TRUE(m_launcher->WaitForExit(15000));
    for (const StandIn* s : {&a, &b, &c}) {
        EXPECT_TRUE(s->WaitForLine(L"close 0", 15000));
        EXPECT_TRUE(s->WaitForExit(15000));
    }
    EXPECT_FALSE(TrayIconPresent(m_mainWnd));
    EXPECT_TRUE(WaitFor([] { return LauncherProcessIds().empty(); }, 15000));
}

TEST_F(MainWindowSession, CancellingTheFirstRealLoginEndsTheProgram) {
    HWND login = WaitForLoginOf(m_mainWnd, 30000);
    ASSERT_TRUE(login) << "no login window";
    EXPECT_FALSE(IsWindowEnabled(m_mainWnd));  // while the login runs
    PostMessageW(login, WM_CLOSE, 0, 0);
    EXPECT_TRUE(m_launcher->WaitForExit(15000));
    EXPECT_TRUE(WaitFor([] { return LauncherProcessIds().empty(); }, 15000));
}

TEST_F(MainWindowSession, TheRealGameHallBecomesTheHallWindowAndEndsWithTheProgram) {
    StartedProcess hall(L"\"" + m_exe + L"\" /gmhall /" + HandleText(m_mainWnd));
    ASSERT_TRUE(hall.started());
    // Its frame re-parents itself into the main window, which opens for it; it is no tab.
    ASSERT_TRUE(WaitFor([&] { return !ChildrenOf(hall.id()).empty(); }, 30000));
    EXPECT_TRUE(WaitFor([&] { return FillsWorkArea(m_mainWnd); }, 15000));
    EXPECT_TRUE(WaitFor([&] { return TrayIconPresent(m_mainWnd); }, 15000));
    // A tab that arrives later is shown, and the first tab keeps the window as it is.
    StandIn a = LogIn(0, L"1服-龙城-alice");
    EXPECT_TRUE(IsWindowVisible(a.Frame()));
    EXPECT_TRUE(FillsWorkArea(m_mainWnd));
    ASSERT_TRUE(CancelLoginOf(m_mainWnd));
    const std::vector<HWND> hallFrames = ChildrenOf(hall.id());
    EXPECT_FALSE(hallFrames.empty()) << "the hall window left the main window";
    for (HWND frame : hallFrames) EXPECT_FALSE(IsWindowVisible(frame));

    // Closing the only tab asks the exit question; "是" ends everything, the hall too.
    PostMessageW(m_mainWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    HWND box = WaitForMessageBox(m_launcher->id(), 30000);
    ASSERT_TRUE(box);
    ClickMessageBoxButton(box, kYes);
    EXPECT_TRUE(m_launcher->WaitForExit(15000));
    EXPECT_TRUE(a.WaitForExit(15000));
    EXPECT_TRUE(hall.WaitForExit(15000));
}
