// Not a test: the scenes of docs/mainwnd-*.png, run by scripts/mainwnd-shots.sh, which
// photographs the screen when the scene announces each picture.
#include <gtest/gtest.h>

#include "support/InstallScenario.h"
#include "support/LauncherScenario.h"
#include "support/MainWindowSession.h"
#include "support/WinTestSupport.h"

using namespace testsupport;

TEST_F(MainWindowSession, ScenesForThePictures) {
    ASSERT_TRUE(WaitForLoginOf(m_mainWnd, 30000));
    Sleep(2000);  // the login picture fades in
    WaitForScreenPicture(L"start");
    StandIn a = LogIn(0, L"1服-龙城-alice");
    ASSERT_TRUE(CancelLoginOf(m_mainWnd));
    WaitFor([] { return LauncherProcessIds().size() == 1; }, 10000);
    Sleep(1000);
    WaitForScreenPicture(L"one-tab");
    StandIn b = LogIn(1, L"1服-龙城-bob");
    StandIn c = LogIn(2, L"2服-凤鸣-carol");
    // The mouse rests on the first tab: hovered look and its caption as tooltip.
    RECT client;
    GetClientRect(m_mainWnd, &client);
    POINT p = {200, 14};
    ClientToScreen(m_mainWnd, &p);
    SetCursorPos(p.x, p.y);
    Sleep(1500);
    WaitForScreenPicture(L"three-tabs");
    p = {120 + 189 * 2 + 180, 8};  // the current tab's close icon
    ClientToScreen(m_mainWnd, &p);
    SetCursorPos(p.x, p.y);
    Sleep(800);
    WaitForScreenPicture(L"close-icon");
    SetCursorPos(client.right / 2, client.bottom / 2);
    StartedProcess hall(L"\"" + StandInProgram() + L"\" /gmhall /" + HandleText(m_mainWnd));
    ASSERT_TRUE(WaitFor([&] { return !StandInLogsWithLine(L"shown").empty(); }, 10000));
    Sleep(1000);
    WaitForScreenPicture(L"hall");
    PostMessageW(m_mainWnd, WM_COMMAND, MAKEWPARAM(1005, 0), 0);  // the account link
    Sleep(800);
    WaitForScreenPicture(L"new-tab-choice");
}
