// The real TolvVorel.exe as the player starts it from the desktop shortcut: its main window,
// with accounts logged in by stand-in game processes (the login pages cannot load here) and
// with the real "/newgm" and "/gmhall" processes of the program.
#include <gtest/gtest.h>

#include "support/InstallScenario.h"
#include "support/LauncherScenario.h"
#include "support/MainWindowProbe.h"
#include "support/StandIn.h"

using namespace testsupport;

namespace {

constexpr int kYes = 5000;
constexpr int kNo = 5001;

class MainWindowSession : public ::testing::Test {
protected:
    void SetUp() override {
        ResetLauncherState();
        PrepareStandInDir();
        m_exe = PlaceLauncher(ProductFolder());
        m_launcher = std::make_unique<StartedProcess>(L"\"" + m_exe + L"\" /VorelD");
        ASSERT_TRUE(m_launcher->started());
        m_main = WaitForMainWindow(m_launcher->id(), 30000);
        ASSERT_TRUE(m_main) << "no main window";
    }
    void TearDown() override {
        m_launcher.reset();
        EndAllStandIns();
        StopLauncherProcesses(5000);
        ResetLauncherState();
    }

    StandIn LogIn(int tab, const std::wstring& caption) {
        StandIn s = StartStandIn(L"/newgm /" + HandleText(m_main) + L" /" + std::to_wstring(tab));
        EXPECT_TRUE(s);
        if (!s) return s;
        EXPECT_TRUE(s.Command(L"login " + caption));
        EXPECT_TRUE(s.WaitForLine(L"copydata 1", 30000));
        EXPECT_TRUE(s.WaitForLine(L"shown", 30000));
        return s;
    }

    // The first game process is the program itself with "/newgm": its login window is owned
    // by the main window, which stays disabled while that login runs (its page cannot load
    // here). Closing it cancels the login.
    HWND FindRealLogin() {
        HWND login = nullptr;
        WaitFor(
            [&] {
                for (DWORD id : LauncherProcessIds()) {
                    if (id == m_launcher->id()) continue;
                    HWND dialog = WaitForDialogOf(id, 50);
                    if (dialog && GetWindow(dialog, GW_OWNER) == m_main) login = dialog;
                }
                return login != nullptr;
            },
            30000);
        return login;
    }
    bool CancelRealLogin() {
        HWND login = FindRealLogin();
        if (!login) return false;
        PostMessageW(login, WM_CLOSE, 0, 0);
        return WaitFor([&] { return IsWindowEnabled(m_main) != FALSE; }, 10000);
    }

    // Children of the main window that belong to process pid.
    std::vector<HWND> ChildrenOf(DWORD pid) const {
        std::pair<DWORD, std::vector<HWND>> search{pid, {}};
        EnumChildWindows(
            m_main,
            [](HWND wnd, LPARAM param) -> BOOL {
                auto* s = reinterpret_cast<std::pair<DWORD, std::vector<HWND>>*>(param);
                DWORD owner = 0;
                GetWindowThreadProcessId(wnd, &owner);
                if (owner == s->first && GetAncestor(wnd, GA_PARENT) != nullptr) {
                    s->second.push_back(wnd);
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.second;
    }

    std::wstring m_exe;
    std::unique_ptr<StartedProcess> m_launcher;
    HWND m_main = nullptr;
};

// The window's own maximize: the work area. Wine gives each process its own idea of the
// work area (with or without the virtual desktop's task bar), so any height between the
// two is taken.
bool FillsWorkArea(HWND wnd) {
    RECT work, r;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(wnd, &r);
    return r.left == work.left && r.top == work.top && r.right == work.right &&
           r.bottom >= work.bottom && r.bottom <= GetSystemMetrics(SM_CYSCREEN);
}

}  // namespace

TEST_F(MainWindowSession, ExitWithThreeTabsClosesEveryGameProcessAndTheTrayIcon) {
    RECT r;
    GetWindowRect(m_main, &r);
    EXPECT_EQ(r.right - r.left, 1);
    EXPECT_EQ(r.bottom - r.top, 1);
    EXPECT_FALSE(TrayIconPresent(m_main));

    StandIn a = LogIn(0, L"1服-龙城-alice");
    ASSERT_TRUE(WaitFor([&] { return FillsWorkArea(m_main); }, 15000));
    // The real first login is cancelled now that a tab exists: the program goes on.
    ASSERT_TRUE(CancelRealLogin());
    Sleep(500);
    EXPECT_TRUE(m_launcher->Running());
    EXPECT_TRUE(IsWindowVisible(a.Frame()));
    StandIn b = LogIn(1, L"1服-龙城-bob");
    StandIn c = LogIn(2, L"2服-凤鸣-carol");
    for (const StandIn* s : {&a, &b, &c}) {
        EXPECT_EQ(GetAncestor(s->Frame(), GA_PARENT), m_main);
        EXPECT_TRUE(s->WaitForLine(L"mute 0", 15000));
    }
    // The last one to arrive is the one shown.
    EXPECT_TRUE(IsWindowVisible(c.Frame()));
    EXPECT_FALSE(IsWindowVisible(a.Frame()));
    EXPECT_TRUE(WaitFor([&] { return TrayIconPresent(m_main); }, 15000));

    // The close button asks; "否" keeps everything.
    PostMessageW(m_main, WM_SYSCOMMAND, SC_CLOSE, 0);
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
    PostMessageW(m_main, WM_SYSCOMMAND, SC_CLOSE, 0);
    box = WaitForMessageBox(m_launcher->id(), 30000);
    ASSERT_TRUE(box);
    ClickMessageBoxButton(box, kYes);
    EXPECT_TRUE(m_launcher->WaitForExit(15000));
    for (const StandIn* s : {&a, &b, &c}) {
        EXPECT_TRUE(s->WaitForLine(L"close 0", 15000));
        EXPECT_TRUE(s->WaitForExit(15000));
    }
    EXPECT_FALSE(TrayIconPresent(m_main));
    EXPECT_TRUE(WaitFor([] { return LauncherProcessIds().empty(); }, 15000));
}

TEST_F(MainWindowSession, CancellingTheFirstRealLoginEndsTheProgram) {
    HWND login = FindRealLogin();
    ASSERT_TRUE(login) << "no login window";
    EXPECT_FALSE(IsWindowEnabled(m_main));  // while the login runs
    PostMessageW(login, WM_CLOSE, 0, 0);
    EXPECT_TRUE(m_launcher->WaitForExit(15000));
    EXPECT_TRUE(WaitFor([] { return LauncherProcessIds().empty(); }, 15000));
}

TEST_F(MainWindowSession, TheRealGameHallBecomesTheHallWindowAndEndsWithTheProgram) {
    StartedProcess hall(L"\"" + m_exe + L"\" /gmhall /" + HandleText(m_main));
    ASSERT_TRUE(hall.started());
    // Its frame re-parents itself into the main window, which opens for it; it is no tab.
    ASSERT_TRUE(WaitFor([&] { return !ChildrenOf(hall.id()).empty(); }, 30000));
    EXPECT_TRUE(WaitFor([&] { return FillsWorkArea(m_main); }, 15000));
    EXPECT_TRUE(WaitFor([&] { return TrayIconPresent(m_main); }, 15000));
    // A tab that arrives later is shown, and the first tab keeps the window as it is.
    StandIn a = LogIn(0, L"1服-龙城-alice");
    EXPECT_TRUE(IsWindowVisible(a.Frame()));
    EXPECT_TRUE(FillsWorkArea(m_main));
    ASSERT_TRUE(CancelRealLogin());
    for (HWND frame : ChildrenOf(hall.id())) EXPECT_FALSE(IsWindowVisible(frame));

    // Closing the only tab asks the exit question; "是" ends everything, the hall too.
    PostMessageW(m_main, WM_SYSCOMMAND, SC_CLOSE, 0);
    HWND box = WaitForMessageBox(m_launcher->id(), 30000);
    ASSERT_TRUE(box);
    ClickMessageBoxButton(box, kYes);
    EXPECT_TRUE(m_launcher->WaitForExit(15000));
    EXPECT_TRUE(a.WaitForExit(15000));
    EXPECT_TRUE(hall.WaitForExit(15000));
}

namespace {
// For scripts/mainwnd-shots.sh: announces a scene and waits until the script has taken the
// screen's picture. Nothing happens without the script's folder.
void Photograph(const std::wstring& name) {
    wchar_t dir[MAX_PATH] = L"";
    if (!GetEnvironmentVariableW(L"VOREL_SHOTS_DIR", dir, MAX_PATH)) return;
    const std::wstring base = std::wstring(dir) + L"\\" + name;
    HANDLE ready = CreateFileW((base + L".ready").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (ready != INVALID_HANDLE_VALUE) CloseHandle(ready);
    WaitFor([&] { return FileExists(base + L".taken"); }, 20000);
}
}  // namespace

// Not a test: the scenes of docs/mainwnd-*.png, run by scripts/mainwnd-shots.sh.
TEST_F(MainWindowSession, DISABLED_ScenesForThePictures) {
    ASSERT_TRUE(FindRealLogin());
    Sleep(2000);  // the login picture fades in
    Photograph(L"start");
    StandIn a = LogIn(0, L"1服-龙城-alice");
    ASSERT_TRUE(CancelRealLogin());
    WaitFor([] { return LauncherProcessIds().size() == 1; }, 10000);
    Sleep(1000);
    Photograph(L"one-tab");
    StandIn b = LogIn(1, L"1服-龙城-bob");
    StandIn c = LogIn(2, L"2服-凤鸣-carol");
    // The mouse rests on the first tab: hovered look and its caption as tooltip.
    RECT client;
    GetClientRect(m_main, &client);
    POINT p = {200, 14};
    ClientToScreen(m_main, &p);
    SetCursorPos(p.x, p.y);
    Sleep(1500);
    Photograph(L"three-tabs");
    p = {120 + 189 * 2 + 180, 8};  // the current tab's close icon
    ClientToScreen(m_main, &p);
    SetCursorPos(p.x, p.y);
    Sleep(800);
    Photograph(L"close-icon");
    SetCursorPos(client.right / 2, client.bottom / 2);
    StartedProcess hall(L"\"" + StandInProgram() + L"\" /gmhall /" + HandleText(m_main));
    ASSERT_TRUE(WaitFor([&] { return !StandInLogsWithLine(L"shown").empty(); }, 10000));
    Sleep(1000);
    Photograph(L"hall");
    PostMessageW(m_main, WM_COMMAND, MAKEWPARAM(1005, 0), 0);  // the account link
    Sleep(800);
    Photograph(L"new-tab-choice");
}
