#include "support/ShortcutStart.h"

#include "fw/Raii.h"
#include "support/LauncherScenario.h"
#include "support/MainWindowProbe.h"

namespace testsupport {

void ShortcutStartTest::SetUp() {
    ResetLauncherState();
    PrepareStandInDir();
    m_exe = PlaceLauncher(ProductFolder());
    m_launcher = std::make_unique<StartedProcess>(L"\"" + m_exe + L"\" /VorelD");
    ASSERT_TRUE(m_launcher->started());
    m_mainWnd = WaitForMainWindow(m_launcher->id(), 30000);
    ASSERT_TRUE(m_mainWnd) << "no main window";
}

void ShortcutStartTest::TearDown() {
    m_launcher.reset();
    EndAllStandIns();
    StopLauncherProcesses(5000);
    ResetLauncherState();
}

StandIn LogInStandIn(HWND mainWindow, int tab, const std::wstring& caption, const Idle& idle) {
    StandIn s =
        StartStandIn(L"/newgm /" + HandleText(mainWindow) + L" /" + std::to_wstring(tab), idle);
    EXPECT_TRUE(s);
    if (!s) return s;
    EXPECT_TRUE(s.Command(L"login " + caption));
    EXPECT_TRUE(s.WaitForLine(L"copydata 1", 30000, idle));
    EXPECT_TRUE(s.WaitForLine(L"shown", 30000, idle));
    return s;
}

bool CancelLoginOf(HWND mainWindow, bool processMustEnd) {
    HWND login = WaitForLoginOf(mainWindow, 30000);
    if (!login) return false;
    DWORD loginPid = 0;
    GetWindowThreadProcessId(login, &loginPid);
    fw::ScopedHandle process(processMustEnd ? OpenProcess(SYNCHRONIZE, FALSE, loginPid) : nullptr);
    PostMessageW(login, WM_CLOSE, 0, 0);
    if (processMustEnd && !(process && WaitForSingleObject(process.get(), 10000) == WAIT_OBJECT_0))
        return false;
    return WaitFor([&] { return IsWindowEnabled(mainWindow) != FALSE; }, 10000);
}

}  // namespace testsupport
