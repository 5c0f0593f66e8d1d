// The real TolvVorel.exe against a publisher server that is down, slow, or cuts its
// connections: during the update check and download, the start report and the notice.
// Whatever the network does, the shortcut start (mode 2) and the installed start (mode 3)
// open a working main window, and the executable on disk stays the one that was there.
#include <gtest/gtest.h>

#include <cstdio>

#include "net/FileDigest.h"
#include "support/FaultScenario.h"
#include "support/KeyInput.h"
#include "support/LauncherScenario.h"
#include "support/MainWindowProbe.h"
#include "support/PublisherTestSupport.h"
#include "support/ServedFiles.h"

using namespace testsupport;

namespace {

const std::wstring kFolder = L"C:\\vorel-e2e\\Faults";
const char kConfigPath[] = "/update/ConfigTolvVorel.htm";
const char kNoticePath[] = "/notice/tolvvorel.txt";
const char kReportPath[] = "/active.htm";

size_t Requests(const char* path) { return LogEntriesFor(path).size(); }

// Ends the stand-ins and the launcher; without a living tab the main window closes at once.
void EndLaunchers() {
    EndAllStandIns();
    StopLauncherProcesses(10000);
}

// One start of the launcher, kept until the end of the scope.
struct Start {
    std::wstring exe;
    std::string bytes;  // the executable as it was placed
    std::unique_ptr<StartedProcess> process;
    HWND main = nullptr;
    DWORD msToWindow = 0;
};

class NetworkFaults : public ::testing::Test {
protected:
    void SetUp() override {
        ResetLauncherState();
        DeleteTree(kFolder);
        PrepareStandInDir();
    }
    void TearDown() override {
        EndAllStandIns();
        StopLauncherProcesses(5000);
        ResetLauncherState();
        DeleteTree(kFolder);
    }

    // Mode 2: the shortcut's switch from a folder of its own (the daily update check runs).
    // Mode 3: no switch, from the product folder.
    static Start Launch(int mode, DWORD windowTimeoutMs = 30000) {
        Start s;
        s.exe = PlaceLauncher(mode == 2 ? kFolder : ProductFolder());
        s.bytes = ReadFileBytes(s.exe);
        const DWORD start = GetTickCount();
        s.process = std::make_unique<StartedProcess>(L"\"" + s.exe + L"\"" +
                                                     (mode == 2 ? L" /VorelD" : L""));
        if (s.process->started()) s.main = WaitForMainWindow(s.process->id(), windowTimeoutMs);
        s.msToWindow = Since(start);
        return s;
    }

    // The notice popup has been created and its fetch is over (the main window's thread,
    // which runs the fetch, answers again).
    static HWND WaitForNoticeDecision(const Start& s, DWORD timeoutMs = 30000) {
        HWND popup = nullptr;
        WaitFor([&] { return (popup = NoticePopup(s.process->id(), s.main)) != nullptr; },
                timeoutMs);
        if (popup && !Responds(s.main, timeoutMs)) return nullptr;
        return popup;
    }

    // What every start must come to, whatever the network did.
    static void ExpectWorkingStart(const Start& s, const std::wstring& account) {
        ASSERT_TRUE(s.main) << "no main window";
        EXPECT_TRUE(s.process->Running());
        EXPECT_TRUE(TakesALogin(s.main, account));
        EXPECT_EQ(ReadFileBytes(s.exe), s.bytes) << "the executable changed";
        const std::wstring folder = s.exe.substr(0, s.exe.rfind(L'\\'));
        EXPECT_FALSE(FileExists(folder + L"\\NewTolvVorel.exe"));
        EXPECT_FALSE(FileExists(folder + L"\\OldTolvVorel.exe"));
    }

    // Both ordinary starts, one after the other, with the network as the test has set it.
    void ExpectBothStartsWork() {
        {
            SCOPED_TRACE("mode 2");
            Start s = Launch(2);
            ExpectWorkingStart(s, L"1服-龙城-alice");
            HWND popup = WaitForNoticeDecision(s);
            ASSERT_TRUE(popup) << "the notice was never decided";
            EXPECT_FALSE(IsWindowVisible(popup));
            EXPECT_TRUE(TakesALogin(s.main, L"1服-龙城-bob")) << "after the notice's fetch";
            printf("[ figures  ] mode 2: main window after %lu ms\n", s.msToWindow);
        }
        EndLaunchers();
        {
            SCOPED_TRACE("mode 3");
            Start s = Launch(3);
            ExpectWorkingStart(s, L"2服-凤鸣-carol");
            HWND popup = WaitForNoticeDecision(s);
            ASSERT_TRUE(popup) << "the notice was never decided";
            EXPECT_FALSE(IsWindowVisible(popup));
            printf("[ figures  ] mode 3: main window after %lu ms\n", s.msToWindow);
        }
        // Each start was counted although no report arrived; nothing else was written.
        EXPECT_EQ(Counter(L"Game"), L"2");
        for (const std::wstring& folder : {kFolder, ProductFolder()}) {
            EXPECT_EQ(ReadIniValue(folder + L"\\Statistic.ini", L"TolvVorel", L"PopInfo"),
                      L"<missing>");
        }
        EXPECT_FALSE(RegValueExists(HKEY_LOCAL_MACHINE, kProductKey, L"UpdTime"));
    }
};

}  // namespace

TEST_F(NetworkFaults, WithThePublisherServerDownBothStartsOpenAWorkingMainWindow) {
    const size_t before = PublisherLogLines().size();
    {
        UnreachableNetwork down;
        ExpectBothStartsWork();
    }
    // Nothing reached the server: every request failed at its connection.
    EXPECT_EQ(PublisherLogLines().size(), before);
}

TEST_F(NetworkFaults, WithEveryConnectionDroppedBothStartsOpenAWorkingMainWindow) {
    const size_t configs = Requests(kConfigPath), reports = Requests(kReportPath),
                 notices = Requests(kNoticePath);
    {
        PublisherFault gone("/*", "{\"drop\": true}");
        ExpectBothStartsWork();
    }
    // The requests were made and went unanswered: the check (mode 2 only), two reports, two
    // notices. (The system may send a request again once when its connection is dropped.)
    EXPECT_GE(Requests(kConfigPath), configs + 1);
    EXPECT_GE(Requests(kReportPath), reports + 2);
    EXPECT_GE(Requests(kNoticePath), notices + 2);
}

TEST_F(NetworkFaults, ASlowServerDelaysTheStartButLosesNothing) {
    constexpr DWORD kDelayS = 3;
    PublisherFault slow("/*", "{\"delay\": " + std::to_string(kDelayS) + "}");
    const std::string firstStart = "tag=tolvvorel&ver=3.0.0.1&count=1";
    const size_t reports = LogEntriesFor(kReportPath, firstStart).size();
    Start s = Launch(2, 60000);
    // The update check runs before the window, on the same thread, and waits its answer.
    ExpectWorkingStart(s, L"1服-龙城-alice");
    EXPECT_GE(s.msToWindow, kDelayS * 1000 - 100);
    // The notice and its picture each come a delay later, and are shown.
    HWND popup = WaitForNoticeDecision(s, 60000);
    ASSERT_TRUE(popup);
    EXPECT_TRUE(IsWindowVisible(popup));
    EXPECT_NE(ReadIniValue(s.exe.substr(0, s.exe.rfind(L'\\')) + L"\\Statistic.ini", L"TolvVorel",
                           L"PopInfo"),
              L"<missing>");
    EXPECT_TRUE(WaitForLogEntries(kReportPath, firstStart, reports + 1, 15000));
    EXPECT_TRUE(TakesALogin(s.main, L"1服-龙城-bob"));
    printf("[ figures  ] slow server (%lu s a request): main window after %lu ms\n", kDelayS,
           s.msToWindow);
}

TEST_F(NetworkFaults, ACutOrDroppedUpdateDownloadLeavesTheExecutableAndTheStartGoesOn) {
    const std::wstring build = InBuildDir(L"launch_probe.exe");
    const std::string buildPath = TestPath("up/TolvVorel.exe");
    PublisherFault config(kConfigPath,
                          UpdateConfigBody(vorel::FileVersionKey(build.c_str()), buildPath));
    const struct {
        const char* name;
        std::string fault;
        const wchar_t* arguments;
    } cases[] = {
        {"cut at 64 KiB, shortcut start", ServeFile(build, "\"cut_after\": 65536"), L"/VorelD"},
        {"dropped, shortcut start", "{\"drop\": true}", L"/VorelD"},
        {"cut at 64 KiB, update switch", ServeFile(build, "\"cut_after\": 65536"), L"/update"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PublisherFault download(buildPath, c.fault);
        const size_t downloads = Requests(buildPath.c_str());
        Start s;
        s.exe = PlaceLauncher(kFolder);
        s.bytes = ReadFileBytes(s.exe);
        s.process = std::make_unique<StartedProcess>(L"\"" + s.exe + L"\" " + c.arguments);
        ASSERT_TRUE(s.process->started());
        s.main = WaitForMainWindow(s.process->id(), 60000);
        EXPECT_GE(Requests(buildPath.c_str()), downloads + 1) << "no download was tried";
        ExpectWorkingStart(s, L"1服-龙城-alice");
        EXPECT_FALSE(RegValueExists(HKEY_LOCAL_MACHINE, kProductKey, L"UpdTime"));
        EXPECT_TRUE(ProbeStartLine(s.exe).empty()) << "the new build was started";
        EndLaunchers();
    }
}

TEST_F(NetworkFaults, ACutUpdateConfigurationOffersNoUpdate) {
    const std::string buildPath = TestPath("up/TolvVorel.exe");
    const std::string text = UpdateConfig(std::string(32, 'a'), PublisherUrl(Widen(buildPath)));
    // The key's line is cut off with the rest of the configuration.
    PublisherFault config(kConfigPath, "{\"body\": " + JsonString(text) + ", \"cut_after\": " +
                                           std::to_string(text.size() / 2) + "}");
    const size_t configs = Requests(kConfigPath);
    Start s = Launch(2);
    ExpectWorkingStart(s, L"1服-龙城-alice");
    EXPECT_EQ(Requests(kConfigPath), configs + 1);
    EXPECT_TRUE(LogEntriesFor(buildPath).empty()) << "nothing is downloaded";
    EXPECT_FALSE(FileExists(kFolder + L"\\ConfigTolvVorel.htm")) << "the partial file is removed";
}

TEST_F(NetworkFaults, ABrokenNoticeShowsNothingAndKeepsTheStoredOne) {
    // A notice closed by the player earlier: it must survive a failed fetch unchanged.
    const std::wstring stored = L"TV-OLD|2099-12-31|旧公告|http://example/|旧的内容||1";
    const struct {
        const char* name;
        std::string fault;
    } cases[] = {
        {"cut short of its length", "{\"cut_after\": 12}"},
        {"dropped", "{\"drop\": true}"},
        {"without a length", "{\"no_length\": true}"},
        {"server error page", "{\"status\": 500}"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EnsureDir(ProductFolder());
        const std::wstring settings = ProductFolder() + L"\\Statistic.ini";
        ASSERT_TRUE(
            WriteUtf16File(settings, L"[TolvVorel]\r\nPopInfo=" + stored + L"\r\nPopEnable=0\r\n"));
        PublisherFault notice(kNoticePath, c.fault);
        const size_t notices = Requests(kNoticePath);
        Start s = Launch(3);
        ExpectWorkingStart(s, L"1服-龙城-alice");
        HWND popup = WaitForNoticeDecision(s);
        ASSERT_TRUE(popup) << "the notice was never decided";
        EXPECT_GE(Requests(kNoticePath), notices + 1);
        EXPECT_FALSE(IsWindowVisible(popup));
        EXPECT_EQ(ReadIniValue(settings, L"TolvVorel", L"PopInfo"), stored);
        EXPECT_EQ(ReadIniValue(settings, L"TolvVorel", L"PopEnable"), L"0");
        EXPECT_TRUE(TakesALogin(s.main, L"1服-龙城-bob")) << "after the notice's fetch";
        EndLaunchers();
    }
}

TEST_F(NetworkFaults, ACutNoticePictureKeepsTheOldPictureAndTheNoticeShows) {
    EnsureDir(ProductFolder());
    const std::wstring picture = ProductFolder() + L"\\PopWnd.jpg";
    const std::string oldPicture = "the picture of an earlier notice";
    ASSERT_TRUE(WriteFileBytes(picture, oldPicture));
    PublisherFault cut("/notice/picture-small.jpg", "{\"cut_after\": 100}");
    Start s = Launch(3);
    ExpectWorkingStart(s, L"1服-龙城-alice");
    HWND popup = WaitForNoticeDecision(s);
    ASSERT_TRUE(popup);
    EXPECT_TRUE(IsWindowVisible(popup)) << "the notice shows without its new picture";
    EXPECT_EQ(ReadFileBytes(picture), oldPicture);
    EXPECT_FALSE(FileExists(picture + L".part"));
}

TEST_F(NetworkFaults, ASilentServerHoldsTheStartForALimitedTimeAndTheMainWindowNever) {
    // The server takes the requests and then says nothing: for a minute before the update
    // configuration's answer, and for 25 s in the middle of the notice.
    PublisherFault config(kConfigPath, "{\"delay\": 60}");
    PublisherFault notice(kNoticePath, "{\"stall_after\": 10, \"stall\": 25}");
    const size_t notices = Requests(kNoticePath);
    Start s = Launch(2, 90000);
    ASSERT_TRUE(s.main) << "no main window";
    printf("[ figures  ] silent server: main window after %lu ms\n", s.msToWindow);
    EXPECT_LT(s.msToWindow, 45000u) << "the start waited for the server";
    // A tab, so that the boss key acts.
    ASSERT_TRUE(TakesALogin(s.main, L"1服-龙城-alice"));
    ASSERT_TRUE(WaitFor([&] { return Requests(kNoticePath) > notices; }, 30000))
        << "the notice was not asked for";
    // The server holds the notice now; the window and its keyboard hook do not wait for it.
    const DWORD held = GetTickCount();
    EXPECT_TRUE(Responds(s.main, 1000)) << "the main window waited for the notice";
    ASSERT_TRUE(FocusKeySink() && PressKeys({}, VK_F10));
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(s.main); }, 1000, PumpBriefly))
        << "the boss key did not hide the window within a second";
    ASSERT_TRUE(FocusKeySink() && PressKeys({}, VK_F10));
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(s.main) != FALSE; }, 1000, PumpBriefly))
        << "the boss key did not restore the window within a second";
    printf("[ figures  ] silent server: answered, hidden and restored %lu ms into the hold\n",
           Since(held));
    EXPECT_EQ(NoticePopup(s.process->id(), s.main), nullptr) << "a notice before its text came";
    // When the server lets the notice go, it appears.
    HWND popup = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (popup = NoticePopup(s.process->id(), s.main)) != nullptr; },
                        60000, PumpBriefly));
    printf("[ figures  ] silent server: notice decided %lu ms into the hold\n", Since(held));
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(popup) != FALSE; }, 5000, PumpBriefly));
    ExpectWorkingStart(s, L"1服-龙城-bob");
}

TEST_F(NetworkFaults, ADownloadedUpdateThatCannotTakeItsPlaceLeavesTheExecutable) {
    // The last update's old executable is still in use, so the running one cannot be moved
    // onto its name: the new build has arrived whole but cannot be put in place.
    const std::wstring build = InBuildDir(L"launch_probe.exe");
    const std::string buildPath = TestPath("up/TolvVorel.exe");
    PublisherFault config(kConfigPath,
                          UpdateConfigBody(vorel::FileVersionKey(build.c_str()), buildPath));
    PublisherFault served(buildPath, ServeFile(build));
    Start s;
    s.exe = PlaceLauncher(kFolder);
    s.bytes = ReadFileBytes(s.exe);
    const std::wstring old = kFolder + L"\\OldTolvVorel.exe";
    ASSERT_TRUE(WriteFileBytes(old, "the build before"));
    HANDLE inUse = CreateFileW(old.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(inUse, INVALID_HANDLE_VALUE);
    s.process = std::make_unique<StartedProcess>(L"\"" + s.exe + L"\" /update");
    s.main = WaitForMainWindow(s.process->id(), 60000);
    EXPECT_EQ(LogEntriesFor(buildPath).size(), 1u) << "the build was not downloaded";
    CloseHandle(inUse);
    ASSERT_TRUE(s.main) << "the start did not go on";
    EXPECT_EQ(ReadFileBytes(s.exe), s.bytes);
    EXPECT_EQ(ReadFileBytes(old), "the build before");
    EXPECT_FALSE(FileExists(kFolder + L"\\NewTolvVorel.exe")) << "the download is discarded";
    EXPECT_TRUE(ProbeStartLine(s.exe).empty());
    EXPECT_TRUE(TakesALogin(s.main, L"1服-龙城-alice"));
}
