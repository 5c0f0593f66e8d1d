// The main window brings up the publisher's notice: once, a few seconds after it opened (the
// first login is on the screen then), owned by itself, from the notice on the client web host.
#include <gtest/gtest.h>

#include "support/MainWindowTestSupport.h"
#include "support/PublisherTestSupport.h"
#include "web/PopInfoDlg.h"

using mwtest::MainWindowTest;
using namespace testsupport;

TEST_F(MainWindowTest, ThePublishersNoticeComesOnceSecondsAfterTheWindowOpened) {
    TempFolder dir;
    vorel::CPopInfoDlg& popup = m_dlg->PopupNotice();
    popup.m_settingsFile = dir.File(L"Statistic.ini");
    popup.m_picturePath = dir.File(L"PopWnd.jpg");
    const size_t fetchedBefore = LogEntriesFor("/notice/tolvvorel.txt").size();

    Pump(1000);
    EXPECT_EQ(popup.m_hWnd, nullptr) << "the window is set up and the login starts first";
    ASSERT_TRUE(WaitUntil([&] { return popup.m_hWnd != nullptr; }, 10000));
    EXPECT_EQ(m_dlg->TabCount(), 0) << "no game window is needed";
    EXPECT_EQ(::GetWindow(popup.m_hWnd, GW_OWNER), Main());
    EXPECT_TRUE(popup.DecidedToShow());
    EXPECT_TRUE(::IsWindowVisible(popup.m_hWnd));
    EXPECT_NE(::GetWindowLongPtrW(popup.m_hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(LogEntriesFor("/notice/tolvvorel.txt").size(), fetchedBefore + 1);
    EXPECT_EQ(ReadIniValue(popup.m_settingsFile, L"TolvVorel", L"PopEnable"), L"1");

    // Timer 4 runs once; a stray tick makes no second popup and no second fetch.
    const HWND first = popup.m_hWnd;
    ::SendMessageW(Main(), WM_TIMER, vorel::kNoticeTimerId, 0);
    LogIn(m_first, L"1服-龙城-alice");
    Pump(200);
    EXPECT_EQ(popup.m_hWnd, first);
    EXPECT_EQ(LogEntriesFor("/notice/tolvvorel.txt").size(), fetchedBefore + 1);
}
