// A game process that dies while its frame is a tab (or the hall window) of the main window:
// the tab is dropped at the mute timer's next tick, and before it by every command that
// counts the tabs or steps through them, so that none of them acts on a window that is gone.
#include "win/mainwnd_test_support.h"

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
