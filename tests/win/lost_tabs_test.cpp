// A game process that dies while its frame is a tab (or the hall window) of the main window:
// the tab is dropped at the mute timer's next tick, and before it by every command that
// counts the tabs or steps through them, so that none of them acts on a window that is gone.
#include <cstdio>

#include "support/MainWindowTestSupport.h"

using namespace mwtest;
using namespace testsupport;

namespace {

// Ends the process and waits for it without pumping this thread's messages, so that no
// timer tick of the main window comes between the death and the next command.
bool Kill(const StandIn& s) {
    return EndProcess(s.pid) && WaitFor([&] { return !::IsWindow(s.Frame()); }, 5000);
}

class LostTabs : public MainWindowTest {
protected:
    // Three tabs: alice, bob, carol; carol is current.
    void OpenThreeTabs() {
        LogIn(m_first, kAlice);
        m_bob = AddTab(kBob);
        m_carol = AddTab(kCarol);
        ASSERT_EQ(m_dlg->TabCount(), 3);
        ASSERT_EQ(m_dlg->CurrentTab(), 2);
    }
    StandIn m_bob, m_carol;
};

}  // namespace

TEST_F(LostTabs, TheNextMuteTickDropsADeadTabAndKeepsTheOthersInStep) {
    OpenThreeTabs();
    // A hidden tab dies: the strip closes up, and the page on the screen stays.
    ASSERT_TRUE(Kill(m_first));
    ASSERT_TRUE(WaitUntil([&] { return m_dlg->TabCount() == 2; }, 2000));
    EXPECT_EQ(m_dlg->TabCaption(0), kBob);
    EXPECT_EQ(m_dlg->TabCaption(1), kCarol);
    EXPECT_EQ(m_dlg->TabWindow(m_dlg->CurrentTab()), m_carol.Frame());
    EXPECT_TRUE(IsWindowVisible(m_carol.Frame()));
    EXPECT_FALSE(IsWindowVisible(m_bob.Frame()));
    EXPECT_FALSE(m_quit);

    // The shown one dies: the one that takes its place (now the last) is shown.
    ASSERT_TRUE(Kill(m_carol));
    ASSERT_TRUE(WaitUntil([&] { return m_dlg->TabCount() == 1; }, 2000));
    EXPECT_EQ(m_dlg->TabWindow(0), m_bob.Frame());
    EXPECT_EQ(m_dlg->CurrentTab(), 0);
    EXPECT_TRUE(IsWindowVisible(m_bob.Frame()));

    // The last one dies: the window stays, without tabs, and takes the next login.
    ASSERT_TRUE(Kill(m_bob));
    ASSERT_TRUE(WaitUntil([&] { return m_dlg->TabCount() == 0; }, 2000));
    Pump(500);
    EXPECT_FALSE(m_quit);
    EXPECT_TRUE(IsWindowVisible(Main()));
    StandIn again = AddTab(kBob);  // the account may log in again
    ASSERT_TRUE(again);
    EXPECT_EQ(m_dlg->TabCount(), 1);
    EXPECT_EQ(m_dlg->TabCaption(0), kBob);
}

TEST_F(LostTabs, AHiddenTabThatDiesLeavesTheVisibleHallAlone) {
    OpenThreeTabs();
    StandIn hall = StartStandIn(L"/gmhall /" + HandleText(Main()), Pumping());
    ASSERT_TRUE(hall);
    ASSERT_TRUE(hall.WaitForLine(L"shown", 8000, Pumping()));
    ASSERT_TRUE(Kill(m_carol));  // the current tab, behind the hall
    ASSERT_TRUE(WaitUntil([&] { return m_dlg->TabCount() == 2; }, 2000));
    EXPECT_TRUE(IsWindowVisible(hall.Frame()));
    EXPECT_FALSE(IsWindowVisible(m_bob.Frame()));
}

TEST_F(LostTabs, ANewTabIsNotRefusedForATabThatHasDied) {
    OpenThreeTabs();
    BoxAnswerer boxes;
    ASSERT_TRUE(Kill(m_bob));
    // Answered before any tick of the mute timer: the posted answer comes first.
    ::PostMessageW(Main(), vorel::kMsgNewTabChoice, 1, 0);
    StandIn fourth = NewStandIn();
    EXPECT_TRUE(fourth) << "no game process was started";
    EXPECT_TRUE(boxes.seen().empty()) << "the three-tab limit was shown";
}

TEST_F(LostTabs, TheSwitchKeyStepsOnlyThroughLiveTabs) {
    OpenThreeTabs();
    ASSERT_TRUE(Kill(m_first));
    // Carol is current; the next tab round was alice, who is gone: bob is shown.
    m_dlg->SwitchToNextTab();
    EXPECT_EQ(m_dlg->TabCount(), 2);
    EXPECT_EQ(m_dlg->TabWindow(m_dlg->CurrentTab()), m_bob.Frame());
    EXPECT_TRUE(IsWindowVisible(m_bob.Frame()));
    EXPECT_FALSE(IsWindowVisible(m_carol.Frame()));
}

TEST_F(LostTabs, ClosingAWindowWhoseGamesHaveAllDiedAsksNothing) {
    LogIn(m_first, kAlice);
    StandIn bob = AddTab(kBob);
    BoxAnswerer boxes;
    ASSERT_TRUE(Kill(m_first));
    ASSERT_TRUE(Kill(bob));
    ::PostMessageW(Main(), WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(WaitUntil([&] { return m_quit; }, 5000));
    EXPECT_TRUE(boxes.seen().empty()) << "a question about games that are gone";
    EXPECT_FALSE(m_dlg->TrayIconAdded());
}

TEST_F(LostTabs, ADeadHallWindowIsForgotten) {
    LogIn(m_first, kAlice);
    StandIn hall = StartStandIn(L"/gmhall /" + HandleText(Main()), Pumping());
    ASSERT_TRUE(hall);
    ASSERT_TRUE(WaitUntil([&] { return m_dlg->HallWindow() != nullptr; }));
    ASSERT_TRUE(Kill(hall));
    ASSERT_TRUE(WaitUntil([&] { return m_dlg->HallWindow() == nullptr; }, 2000));
    EXPECT_EQ(m_dlg->TabCount(), 1);
}

namespace {
// Inside a message box of the main window's own: records whether the window was ever enabled
// during three ticks of its timer, then closes the box.
struct OwnBoxWatch {
    static inline HWND s_main = nullptr;
    static inline int s_ticks = 0;
    static inline bool s_enabledSeen = false;
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        if (++s_ticks <= 30) {
            s_enabledSeen |= IsWindowEnabled(s_main) != FALSE;
            return;
        }
        if (auto* box = WindowOfThisThread<vorel::CMessageBox>(true)) {
            PostMessageW(box->m_hWnd, WM_COMMAND, MAKEWPARAM(vorel::kMessageButton1, BN_CLICKED),
                         0);
        }
    }
};
}  // namespace

TEST_F(LostTabs, AGameProcessKilledWithItsDialogUpLeavesTheMainWindowEnabled) {
    LogIn(m_first, kAlice);
    ::PostMessageW(Main(), vorel::kMsgNewTabChoice, 1, 0);
    StandIn login = NewStandIn();
    ASSERT_TRUE(login);
    ASSERT_TRUE(login.Command(L"modal"));
    ASSERT_TRUE(login.WaitForLine(L"modal", 5000, Pumping()));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowEnabled(Main()); }, 5000));
    // While its process lives, the dialog holds the window, tick after tick.
    Pump(1000);
    EXPECT_FALSE(IsWindowEnabled(Main()));
    ASSERT_TRUE(EndProcess(login.pid));
    const DWORD killed = GetTickCount();
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(Main()) != FALSE; }, 3000))
        << "the main window stayed disabled";
    printf("[ figures  ] enabled %lu ms after the dialog's process was killed\n",
           GetTickCount() - killed);

    // Its own modal dialog holds it as long as it is up.
    OwnBoxWatch::s_main = Main();
    const UINT_PTR timer = SetTimer(nullptr, 0, 40, &OwnBoxWatch::Tick);
    vorel::ShowMessageBox(vorel::kMessageOk, L"Vorel - Tolv", L"own", Main());
    KillTimer(nullptr, timer);
    EXPECT_GT(OwnBoxWatch::s_ticks, 30);
    EXPECT_FALSE(OwnBoxWatch::s_enabledSeen) << "enabled under its own message box";
    EXPECT_TRUE(IsWindowEnabled(Main()));
}
