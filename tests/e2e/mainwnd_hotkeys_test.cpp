// Two running copies of the real TolvVorel.exe, each with an account in a tab: the boss key
// pressed in another program acts on both, and after the settings are saved both read their
// hotkeys again, so the old boss key stops and the new one works without a restart.
#include <gtest/gtest.h>

#include "hotkey/SettingDlg.h"
#include "support/InstallScenario.h"
#include "support/KeyInput.h"
#include "support/LauncherScenario.h"
#include "support/MainWindowProbe.h"
#include "support/ShortcutStart.h"
#include "support/StandIn.h"

using namespace testsupport;

namespace {

struct RunningMain {
    std::unique_ptr<StartedProcess> process;
    HWND window = nullptr;
    StandIn tab;
};

class TwoMainWindows : public ::testing::Test {
protected:
    void SetUp() override {
        ResetLauncherState();
        PrepareStandInDir();
        m_exe = PlaceLauncher(ProductFolder());
        for (const wchar_t* account : {L"1服-龙城-alice", L"2服-凤鸣-bob"}) {
            RunningMain m;
            m.process = std::make_unique<StartedProcess>(L"\"" + m_exe + L"\" /VorelD");
            ASSERT_TRUE(m.process->started());
            m.window = WaitForMainWindow(m.process->id(), 30000);
            ASSERT_TRUE(m.window) << "no main window";
            m.tab = StartStandIn(L"/newgm /" + HandleText(m.window) + L" /1");
            ASSERT_TRUE(m.tab);
            ASSERT_TRUE(m.tab.Command(std::wstring(L"login ") + account));
            ASSERT_TRUE(m.tab.WaitForLine(L"shown", 15000));
            // The program's own first login (its page cannot load here) is closed, as the
            // player would once an account plays.
            ASSERT_TRUE(CancelLoginOf(m.window));
            m_mains.push_back(std::move(m));
        }
    }
    void TearDown() override {
        m_mains.clear();
        EndAllStandIns();
        StopLauncherProcesses(5000);
        ResetLauncherState();
    }

    // Pressed while this program has the keyboard (a restored main window takes it).
    static bool Press(std::initializer_list<WORD> modifiers, WORD key) {
        return FocusKeySink() && PressKeys(modifiers, key);
    }

    bool AllVisible(bool visible) const {
        for (const RunningMain& m : m_mains) {
            if ((IsWindowVisible(m.window) != FALSE) != visible) return false;
            if ((IsWindowVisible(m.tab.Frame()) != FALSE) != visible) return false;
        }
        return true;
    }
    bool WaitAllVisible(bool visible) {
        return WaitFor([&] { return AllVisible(visible); }, 10000);
    }

    std::wstring m_exe;
    std::vector<RunningMain> m_mains;
};

}  // namespace

TEST_F(TwoMainWindows, SavedHotkeysReachEveryMainWindowAndOnlyTheNewBossKeyActs) {
    ASSERT_TRUE(AllVisible(true));
    // The default boss key, F10, from this program: both hide, both come back.
    ASSERT_TRUE(Press({}, VK_F10));
    ASSERT_TRUE(WaitAllVisible(false)) << "F10 did not hide both main windows";
    ASSERT_TRUE(Press({}, VK_F10));
    ASSERT_TRUE(WaitAllVisible(true)) << "F10 did not restore both main windows";

    // What the settings dialog's OK does with Ctrl+B in the boss row.
    WriteIniValue(ProductFolder() + L"\\Statistic.ini", L"TolvVorel", L"ShortKey", L"2,66");
    EXPECT_GE(vorel::NotifyMainWindowsOfHotkeyChange(), 2);
    for (const RunningMain& m : m_mains) EXPECT_TRUE(m.tab.WaitForLine(L"hotkeys", 10000));

    // Handled in order in each process: were F10 still a boss key, Ctrl+B would undo it.
    ASSERT_TRUE(Press({}, VK_F10));
    ASSERT_TRUE(Press({VK_CONTROL}, 'B'));
    EXPECT_TRUE(WaitAllVisible(false)) << "Ctrl+B did not hide both main windows";
    Sleep(500);
    EXPECT_TRUE(AllVisible(false));
    ASSERT_TRUE(Press({VK_CONTROL}, 'B'));
    EXPECT_TRUE(WaitAllVisible(true));
    for (const RunningMain& m : m_mains) EXPECT_TRUE(m.process->Running());
}
