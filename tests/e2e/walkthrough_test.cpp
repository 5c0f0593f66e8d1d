// A player's whole road with the real TolvVorel.exe, in one go: installed from a download
// folder, the installed copy's main window, an account's tab, the boss and sound keys, exit,
// and the uninstall from the Start menu; then the publisher server's log holds exactly the
// reports this road makes, in their order. The account logs in through a stand-in game
// process, since no login page loads here; the program's own first login is then closed.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fw/Raii.h"
#include "support/InstallScenario.h"
#include "support/KeyInput.h"
#include "support/LauncherScenario.h"
#include "support/MainWindowProbe.h"
#include "support/StandIn.h"

using namespace testsupport;

namespace {

const std::wstring kDownloads = L"C:\\vorel-e2e\\Downloads";
constexpr DWORD kWaitMs = 30000;
// The skinned boxes' buttons: "是" or "确定", and "否".
constexpr int kFirstButton = 5000;
constexpr int kSecondButton = 5001;

std::wstring InstalledExe() { return ProductFolder() + L"\\TolvVorel.exe"; }
std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

// The text of a string member of one JSON log line ("" when absent); the server writes
// report paths and queries without escapes.
std::string JsonField(const std::string& line, const std::string& key) {
    const std::string start = "\"" + key + "\": \"";
    const size_t at = line.find(start);
    if (at == std::string::npos) return "";
    const size_t from = at + start.size();
    const size_t end = line.find('"', from);
    return end == std::string::npos ? "" : line.substr(from, end - from);
}

bool IsReport(const std::string& path) {
    return path == "/install.htm" || path == "/active.htm" || path == "/uninstall.htm";
}

// Requests logged from line `first` on, as "path?query", that satisfy `keep`.
template <typename Keep>
std::vector<std::string> LoggedSince(size_t first, Keep keep) {
    const std::vector<std::string> lines = PublisherLogLines();
    std::vector<std::string> found;
    for (size_t i = first; i < lines.size(); ++i) {
        const std::string path = JsonField(lines[i], "path");
        if (keep(path)) found.push_back(path + "?" + JsonField(lines[i], "query"));
    }
    return found;
}

std::vector<std::string> LoggedFor(size_t first, const std::string& path) {
    return LoggedSince(first, [&](const std::string& p) { return p == path; });
}

// The last mute state a stand-in was told ("" before the first).
std::wstring LastMuteLine(const StandIn& s) {
    std::wstring last;
    for (const std::wstring& line : s.Log())
        if (line.compare(0, 5, L"mute ") == 0) last = line;
    return last;
}

bool Ended(HANDLE process, DWORD timeoutMs) {
    return WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0;
}

bool Pressed(std::initializer_list<WORD> modifiers, WORD key) {
    // Another program has the keyboard: the keys reach the main window only through its hook.
    return FocusKeySink() && PressKeys(modifiers, key);
}

class Walkthrough : public ::testing::Test {
protected:
    void SetUp() override {
        Reset();
        PrepareStandInDir();
        ASSERT_TRUE(LauncherProcessIds().empty());
        ASSERT_FALSE(FileExists(ProductFolder()));
        ASSERT_FALSE(FileExists(DesktopShortcut()));
        ASSERT_FALSE(FileExists(StartMenuFolder()));
        ASSERT_FALSE(PublisherLogPath().empty());
    }
    void TearDown() override {
        EndAllStandIns();
        Reset();
    }
    static void Reset() {
        ResetLauncherState();
        DeleteTree(L"C:\\vorel-e2e");
    }
};

}  // namespace

TEST_F(Walkthrough, InstallPlayHideMuteExitAndUninstallWithTheirReportsInOrder) {
    const size_t logStart = PublisherLogLines().size();

    // 1. Started from the download folder with no switch, the program installs itself and
    //    ends once its report is out.
    const std::wstring download = PlaceLauncher(kDownloads);
    const ProcessResult installer = RunLauncher(download, L"", 60000);
    ASSERT_TRUE(installer.finished);
    EXPECT_EQ(installer.exitCode, 0u);
    ASSERT_EQ(ReadFileBytes(InstalledExe()), ReadFileBytes(download));
    for (const std::wstring& link : {DesktopShortcut(), StartMenuShortcut(), UninstallShortcut()}) {
        const ShortcutInfo info = ReadShortcut(link);
        EXPECT_TRUE(info.loaded) << Narrow(link);
        EXPECT_EQ(info.target, InstalledExe()) << Narrow(link);
    }
    EXPECT_EQ(LoggedFor(logStart, "/install.htm"),
              std::vector<std::string>{"/install.htm?tag=tolvvorel&ver=3.0.0.1&count=1"});

    // 2. The copy it started runs from the product folder and opens the main window, first as
    //    a practically invisible 1 x 1 pixel window, with the program's own login before it.
    DWORD mainPid = 0;
    HWND main = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] {
            for (DWORD id : LauncherProcessIds()) {
                if ((main = FindMainWindow(id)) != nullptr) {
                    mainPid = id;
                    return true;
                }
            }
            return false;
        },
        kWaitMs))
        << "the installed copy opened no main window";
    fw::ScopedHandle mainProcess(OpenProcess(SYNCHRONIZE, FALSE, mainPid));
    ASSERT_TRUE(mainProcess);
    EXPECT_EQ(lstrcmpiW(ProcessImagePath(mainPid).c_str(), InstalledExe().c_str()), 0);
    RECT r;
    GetWindowRect(main, &r);
    EXPECT_EQ(r.right - r.left, 1);
    EXPECT_EQ(r.bottom - r.top, 1);
    EXPECT_FALSE(TrayIconPresent(main));
    const HWND realLogin = WaitForLoginOf(main, kWaitMs);
    ASSERT_TRUE(realLogin) << "no login window";
    DWORD loginPid = 0;
    GetWindowThreadProcessId(realLogin, &loginPid);
    EXPECT_EQ(lstrcmpiW(ProcessImagePath(loginPid).c_str(), InstalledExe().c_str()), 0);
    EXPECT_TRUE(WaitFor([] { return Counter(L"Game") == L"1"; }, kWaitMs));
    // Its start is reported while the window opens, before any account plays.
    EXPECT_TRUE(WaitFor([&] { return !LoggedFor(logStart, "/active.htm").empty(); }, kWaitMs));

    // 3. An account logs in: its frame arrives as a tab inside the main window, which opens,
    //    puts its icon in the tray and starts telling the tab the mute state.
    StandIn tab = StartStandIn(L"/newgm /" + HandleText(main) + L" /0");
    ASSERT_TRUE(tab);
    ASSERT_TRUE(tab.Command(L"login 1服-龙城-alice"));
    ASSERT_TRUE(tab.WaitForLine(L"copydata 1", kWaitMs));
    ASSERT_TRUE(tab.WaitForLine(L"shown", kWaitMs));
    const HWND frame = tab.Frame();
    EXPECT_EQ(GetAncestor(frame, GA_PARENT), main);
    EXPECT_TRUE(WaitFor([&] { return FillsWorkArea(main); }, kWaitMs));
    EXPECT_TRUE(WaitFor([&] { return TrayIconPresent(main); }, kWaitMs));
    EXPECT_TRUE(WaitFor([&] { return LastMuteLine(tab) == L"mute 0"; }, kWaitMs));
    // The program's own login is closed now that the account plays; only it ends.
    PostMessageW(realLogin, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(main) != FALSE; }, kWaitMs));
    EXPECT_TRUE(
        WaitFor([&] { return LauncherProcessIds() == std::vector<DWORD>{mainPid}; }, kWaitMs));
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_TRUE(IsWindowVisible(frame));

    // 4. The boss key, pressed in another program, hides the main window with its tab and
    //    brings both back; the tray icon stays.
    ASSERT_TRUE(Pressed({}, VK_F10));
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(main) && !IsWindowVisible(frame); }, kWaitMs))
        << "the boss key hid nothing";
    EXPECT_TRUE(TrayIconPresent(main));
    ASSERT_TRUE(Pressed({}, VK_F10));
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(main) && IsWindowVisible(frame); }, kWaitMs))
        << "the boss key restored nothing";
    EXPECT_EQ(GetAncestor(frame, GA_PARENT), main);

    // 5. The sound key mutes the tab's process, and a second press gives the sound back.
    ASSERT_TRUE(Pressed({VK_CONTROL}, 'Q'));
    EXPECT_TRUE(WaitFor([&] { return LastMuteLine(tab) == L"mute 1"; }, kWaitMs))
        << "the sound key did not reach the tab";
    ASSERT_TRUE(Pressed({VK_CONTROL}, 'Q'));
    EXPECT_TRUE(WaitFor([&] { return LastMuteLine(tab) == L"mute 0"; }, kWaitMs));

    // 6. Exit, answered "是": the tab is asked to close, every process ends, the tray icon
    //    goes.
    PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    const HWND question = WaitForMessageBox(mainPid, kWaitMs);
    ASSERT_TRUE(question);
    EXPECT_EQ(MessageBoxButtonCount(question), 2);
    ClickMessageBoxButton(question, kFirstButton);
    EXPECT_TRUE(Ended(mainProcess.get(), kWaitMs));
    EXPECT_TRUE(tab.WaitForLine(L"close 0", kWaitMs));
    EXPECT_TRUE(tab.WaitForExit(kWaitMs));
    EXPECT_FALSE(TrayIconPresent(main));
    EXPECT_TRUE(WaitFor([] { return LauncherProcessIds().empty(); }, kWaitMs));
    EXPECT_TRUE(RunningStandIns().empty());

    // 7. The Start menu's uninstall shortcut, answered "是": registry key and shortcuts go
    //    before the message, the executable once the process has ended; the counter file
    //    stays with the uninstall counted.
    const ShortcutInfo uninstall = ReadShortcut(UninstallShortcut());
    ASSERT_TRUE(uninstall.loaded);
    ASSERT_EQ(uninstall.arguments, L"/uninst");
    StartedProcess uninstaller(Quoted(uninstall.target) + L" " + uninstall.arguments);
    ASSERT_TRUE(uninstaller.started());
    const HWND confirm = WaitForDialogOf(uninstaller.id(), kWaitMs);
    ASSERT_TRUE(confirm);
    EXPECT_NE(GetDlgItem(confirm, kSecondButton), nullptr);
    ASSERT_TRUE(ClickDialogButton(confirm, kFirstButton));
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(confirm); }, kWaitMs));
    const HWND done = WaitForDialogOf(uninstaller.id(), kWaitMs);
    ASSERT_TRUE(done);
    EXPECT_EQ(GetDlgItem(done, kSecondButton), nullptr);
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kProductKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    if (key) RegCloseKey(key);
    EXPECT_FALSE(FileExists(DesktopShortcut()));
    EXPECT_FALSE(FileExists(StartMenuFolder()));
    ASSERT_TRUE(ClickDialogButton(done, kFirstButton));
    ASSERT_TRUE(uninstaller.WaitForExit(kWaitMs));
    EXPECT_TRUE(WaitFor([] { return !FileExists(InstalledExe()); }, kWaitMs));
    EXPECT_TRUE(WaitFor([] { return SelfDeleteBatches().empty(); }, kWaitMs));
    EXPECT_TRUE(LauncherProcessIds().empty());
    EXPECT_EQ(Counter(L"Inst"), L"1");
    EXPECT_EQ(Counter(L"Game"), L"1");
    EXPECT_EQ(Counter(L"UnInst"), L"1");

    // 8. The reports of the road, each with count 1 on this fresh machine:
    //    - the install report, sent by the installer (it waits for it before it ends);
    //    - the start report of the installed copy, sent as its main window opens. The
    //      installer starts that copy before it counts its own install, so these two race
    //      and either may come first;
    //    - the uninstall report, sent after "是" and before the final message.
    //    The tab's process, the boss and sound keys and the exit send none. Neither an
    //    install nor an installed start (no switch) looks for an update.
    std::vector<std::string> reports = LoggedSince(logStart, IsReport);
    ASSERT_EQ(reports.size(), 3u) << ::testing::PrintToString(reports);
    std::sort(reports.begin(), reports.begin() + 2);
    EXPECT_EQ(reports, (std::vector<std::string>{
                           "/active.htm?tag=tolvvorel&ver=3.0.0.1&count=1",
                           "/install.htm?tag=tolvvorel&ver=3.0.0.1&count=1",
                           "/uninstall.htm?tag=tolvvorel&ver=3.0.0.1&count=1",
                       }));
    EXPECT_TRUE(LoggedSince(logStart, [](const std::string& p) {
                    return p.compare(0, 8, "/update/") == 0;
                }).empty());
}
