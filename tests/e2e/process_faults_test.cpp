// The real TolvVorel.exe when the processes around its main window fail: a game process
// killed while it is a tab, the main window's own process killed with game processes in every
// state around it, and two main windows running side by side. Tabs are stand-in game
// processes (the login pages cannot load here); the first login of every main window, the
// game hall and the extra logins are the program's own "/newgm" and "/gmhall" processes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "app/Protocol.h"
#include "support/FaultScenario.h"
#include "support/KeyInput.h"
#include "support/LauncherScenario.h"
#include "support/MainWindowProbe.h"
#include "support/PublisherTestSupport.h"
#include "support/ShortcutStart.h"

using namespace testsupport;

namespace {

constexpr int kYes = 5000;
constexpr int kNo = 5001;
using vorel::kMsgNewTabChoice;
constexpr int kSoundButton = 1002;

// The mute states a stand-in was given, in order, as "0" and "1" (it logs each change).
std::wstring MuteStates(const StandIn& s) {
    std::wstring states;
    for (const std::wstring& line : s.Log()) {
        if (line == L"mute 0" || line == L"mute 1") states += line.back();
    }
    return states;
}

// A main window of the program with its process.
struct MainWindow {
    DWORD pid = 0;
    HWND wnd = nullptr;

    StandIn LogIn(int tab, const std::wstring& caption, const Idle& idle = SleepBriefly) const {
        return LogInStandIn(wnd, tab, caption, idle);
    }
    // Cancels the real login that is on the screen: its process ends and the main window is
    // enabled again.
    bool CancelRealLogin() const { return CancelLoginOf(wnd, true); }
    // The answer of the new-tab choice: 1 a tab here, 0 a new main window.
    void ChooseNewTab(WPARAM answer) const { PostMessageW(wnd, kMsgNewTabChoice, answer, 0); }
};

class ProcessFaults : public ShortcutStartTest {
protected:
    void SetUp() override {
        ShortcutStartTest::SetUp();
        m_main = {m_launcher->id(), m_mainWnd};
    }

    // Launcher processes that started after these.
    static std::vector<DWORD> NewLaunchers(const std::vector<DWORD>& known) {
        std::vector<DWORD> found;
        for (DWORD id : LauncherProcessIds()) {
            if (std::find(known.begin(), known.end(), id) == known.end()) found.push_back(id);
        }
        return found;
    }

    MainWindow m_main;
};

}  // namespace

TEST_F(ProcessFaults, AKilledTabIsDroppedAndTheMainWindowGoesOn) {
    StandIn a = m_main.LogIn(0, L"1服-龙城-alice");
    // The program's own first login is still up, modal over the main window, when its process
    // dies (killed, or crashed with its page): the window takes clicks again at the next tick.
    HWND login = WaitForLoginOf(m_main.wnd, 30000);
    ASSERT_TRUE(login);
    DWORD loginPid = 0;
    GetWindowThreadProcessId(login, &loginPid);
    // The login's picture can appear a moment before the login itself disables the window.
    EXPECT_TRUE(WaitFor([&] { return !IsWindowEnabled(m_main.wnd); }, 10000))
        << "the login does not hold the main window";
    // A player's login holds the window far longer than the one tick that sees it held.
    Sleep(600);
    ASSERT_TRUE(EndProcess(loginPid));
    const DWORD loginKilled = GetTickCount();
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(m_main.wnd) != FALSE; }, 2000))
        << "the main window stayed disabled after its login's process was killed";
    printf("[ figures  ] killed login: main window enabled after %lu ms\n", Since(loginKilled));
    StandIn b = m_main.LogIn(1, L"1服-龙城-bob");
    StandIn c = m_main.LogIn(2, L"2服-凤鸣-carol");
    ASSERT_TRUE(IsWindowVisible(c.Frame()));

    // Three tabs: a fourth is refused.
    m_main.ChooseNewTab(1);
    HWND box = WaitForMessageBox(m_main.pid, 10000);
    ASSERT_TRUE(box) << "no refusal of a fourth tab";
    EXPECT_EQ(MessageBoxButtonCount(box), 1);
    ClickMessageBoxButton(box, kYes);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }, 5000));

    // The shown tab's process dies: the tab that is now last is shown in its place.
    ASSERT_TRUE(EndProcess(c.pid));
    const DWORD killed = GetTickCount();
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(b.Frame()) != FALSE; }, 5000))
        << "the next tab was not shown";
    printf("[ figures  ] killed tab replaced after %lu ms\n", Since(killed));
    EXPECT_FALSE(IsWindowVisible(a.Frame()));

    // Two tabs now: the new-tab choice starts a login instead of refusing it.
    const std::vector<DWORD> before = LauncherProcessIds();
    m_main.ChooseNewTab(1);
    ASSERT_TRUE(WaitFor([&] { return !NewLaunchers(before).empty(); }, 10000))
        << "no game process was started for the new tab";
    EXPECT_EQ(FindMessageBox(m_main.pid), nullptr);
    ASSERT_TRUE(m_main.CancelRealLogin());
    EXPECT_TRUE(IsWindowVisible(b.Frame()));

    // A tab that is not shown dies: the shown one stays.
    ASSERT_TRUE(EndProcess(a.pid));
    EXPECT_TRUE(Responds(m_main.wnd));
    EXPECT_TRUE(IsWindowVisible(b.Frame()));

    // The last tab dies: the window stays open and empty, takes the next login, and with no
    // tab left a close request ends it without a question.
    ASSERT_TRUE(EndProcess(b.pid));
    EXPECT_TRUE(Responds(m_main.wnd));
    EXPECT_TRUE(IsWindowVisible(m_main.wnd));
    EXPECT_TRUE(m_launcher->Running());
    StandIn d = m_main.LogIn(0, L"1服-龙城-alice");
    EXPECT_EQ(GetAncestor(d.Frame(), GA_PARENT), m_main.wnd);
    ASSERT_TRUE(EndProcess(d.pid));
    // A close request right after the death: the dead tab is dropped first, and without a
    // tab the request needs no answer.
    PostMessageW(m_main.wnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(m_launcher->WaitForExit(10000)) << "the main window did not end";
    EXPECT_EQ(FindMessageBox(m_main.pid), nullptr);
    EXPECT_FALSE(TrayIconPresent(m_main.wnd));
}

TEST_F(ProcessFaults, KillingTheMainWindowEndsEveryGameProcessWithinASecond) {
    // Around the main window: two stand-in tabs, the program's own first login still on the
    // screen, a second real login asked for by the new-tab choice, and the real game hall.
    StandIn a = m_main.LogIn(0, L"1服-龙城-alice");
    StandIn b = m_main.LogIn(1, L"1服-龙城-bob");
    std::vector<DWORD> known = LauncherProcessIds();
    m_main.ChooseNewTab(1);
    ASSERT_TRUE(WaitFor([&] { return !NewLaunchers(known).empty(); }, 10000));
    StartedProcess hall(L"\"" + m_exe + L"\" /gmhall /" + HandleText(m_main.wnd));
    ASSERT_TRUE(hall.started());
    ASSERT_TRUE(WaitFor(
        [&] {
            HWND frame = nullptr;
            while ((frame = FindWindowExW(m_main.wnd, frame, nullptr, nullptr)) != nullptr) {
                DWORD owner = 0;
                GetWindowThreadProcessId(frame, &owner);
                if (owner == hall.id()) return true;
            }
            return false;
        },
        30000))
        << "the game hall did not arrive";
    std::vector<DWORD> games;
    for (DWORD id : LauncherProcessIds())
        if (id != m_main.pid) games.push_back(id);
    ASSERT_EQ(games.size(), 3u) << "two logins and the hall";

    std::vector<HANDLE> handles;
    for (DWORD id : games) handles.push_back(OpenProcess(SYNCHRONIZE, FALSE, id));
    ASSERT_TRUE(EndProcess(m_main.pid));
    const DWORD killed = GetTickCount();
    // Each process's end, seen within 20 ms.
    std::vector<DWORD> endedAfter(games.size(), 0);
    WaitFor(
        [&] {
            bool all = true;
            for (size_t i = 0; i < games.size(); ++i) {
                if (endedAfter[i]) continue;
                if (handles[i] && WaitForSingleObject(handles[i], 0) == WAIT_TIMEOUT) {
                    all = false;
                    continue;
                }
                endedAfter[i] = std::max<DWORD>(Since(killed), 1);
            }
            return all;
        },
        5000);
    std::string figures;
    for (size_t i = 0; i < games.size(); ++i) {
        EXPECT_NE(endedAfter[i], 0u)
            << "process " << games[i] << " still runs 5 s after its main window was killed";
        figures += std::string(games[i] == hall.id() ? " hall " : " login ") +
                   std::to_string(endedAfter[i]) + " ms";
        if (handles[i]) CloseHandle(handles[i]);
    }
    printf("[ figures  ] main window killed: the game processes ended after:%s\n", figures.c_str());
    EXPECT_TRUE(LauncherProcessIds().empty());
}

TEST_F(ProcessFaults, TwoMainWindowsRunSideBySideEachWithItsOwnTabsAndHook) {
    StandIn a1 = m_main.LogIn(0, L"1服-龙城-alice");
    ASSERT_TRUE(m_main.CancelRealLogin());
    // "否" in the new-tab choice: a second main window, a process of its own.
    std::vector<DWORD> known = LauncherProcessIds();
    m_main.ChooseNewTab(0);
    MainWindow second;
    ASSERT_TRUE(WaitFor(
        [&] {
            for (DWORD id : NewLaunchers(known)) {
                if (HWND wnd = FindMainWindow(id)) second = {id, wnd};
            }
            return second.wnd != nullptr;
        },
        60000))
        << "no second main window";
    // The same account may play in both windows: each keeps its own captions.
    StandIn b1 = second.LogIn(0, L"1服-龙城-alice");
    ASSERT_TRUE(second.CancelRealLogin());
    StandIn a2 = m_main.LogIn(1, L"1服-龙城-bob");
    EXPECT_EQ(GetAncestor(a1.Frame(), GA_PARENT), m_main.wnd);
    EXPECT_EQ(GetAncestor(a2.Frame(), GA_PARENT), m_main.wnd);
    EXPECT_EQ(GetAncestor(b1.Frame(), GA_PARENT), second.wnd);
    EXPECT_TRUE(IsWindowVisible(a2.Frame()));
    EXPECT_TRUE(IsWindowVisible(b1.Frame()));
    EXPECT_EQ(Counter(L"Game"), L"2") << "each main window counts its start";

    // The sound button of one window mutes its own tabs only; the sound key then reaches
    // both windows' hooks, and each inverts its own state: the first plays again, the
    // second falls silent.
    for (const StandIn* s : {&a1, &a2, &b1}) ASSERT_TRUE(s->WaitForLine(L"mute 0", 15000));
    PostMessageW(m_main.wnd, WM_COMMAND, MAKEWPARAM(kSoundButton, BN_CLICKED), 0);
    ASSERT_TRUE(a1.WaitForLine(L"mute 1", 15000));
    ASSERT_TRUE(a2.WaitForLine(L"mute 1", 15000));
    ASSERT_TRUE(FocusKeySink() && PressKeys({VK_CONTROL}, 'Q'));
    EXPECT_TRUE(WaitFor(
        [&] {
            return MuteStates(a1) == L"010" && MuteStates(a2) == L"010" && MuteStates(b1) == L"01";
        },
        10000, PumpBriefly))
        << "first window's tabs " << Narrow(MuteStates(a1)) << " " << Narrow(MuteStates(a2))
        << ", second window's tab " << Narrow(MuteStates(b1));
    // The boss key hides both windows with their tabs, and brings both back.
    ASSERT_TRUE(FocusKeySink() && PressKeys({}, VK_F10));
    EXPECT_TRUE(
        WaitFor([&] { return !IsWindowVisible(m_main.wnd) && !IsWindowVisible(second.wnd); }, 10000,
                PumpBriefly));
    ASSERT_TRUE(FocusKeySink() && PressKeys({}, VK_F10));
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(m_main.wnd) && IsWindowVisible(second.wnd); },
                        10000, PumpBriefly));
    EXPECT_TRUE(IsWindowVisible(a2.Frame()));
    EXPECT_TRUE(IsWindowVisible(b1.Frame()));

    // Exit in the first window: its tabs end, the second window goes on.
    PostMessageW(m_main.wnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    HWND box = nullptr;
    ASSERT_TRUE(
        WaitFor([&] { return (box = FindMessageBox(m_main.pid)) != nullptr; }, 10000, PumpBriefly));
    ClickMessageBoxButton(box, kYes);
    EXPECT_TRUE(WaitFor([&] { return !m_launcher->Running(); }, 15000, PumpBriefly));
    EXPECT_TRUE(a1.WaitForExit(5000, PumpBriefly));
    EXPECT_TRUE(a2.WaitForExit(5000, PumpBriefly));
    EXPECT_TRUE(b1.Running());
    EXPECT_TRUE(IsWindowVisible(b1.Frame()));
    StandIn b2 = second.LogIn(1, L"2服-凤鸣-carol", PumpBriefly);
    EXPECT_EQ(GetAncestor(b2.Frame(), GA_PARENT), second.wnd);
}
