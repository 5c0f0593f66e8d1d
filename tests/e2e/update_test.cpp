// The self-update of the real TolvVorel.exe against the publisher server: the announced build
// is a probe program that records its start, so that the restart after the swap is seen.
#include <gtest/gtest.h>

#include <vector>

#include "net/FileDigest.h"
#include "support/LauncherScenario.h"
#include "support/PublisherTestSupport.h"
#include "support/ServedFiles.h"

using namespace testsupport;

namespace {

const std::wstring kFolder = L"C:\\vorel-e2e\\Update";
const char kConfigPath[] = "/update/ConfigTolvVorel.htm";

// The launcher started without waiting; killed at the end if it is still up.
class Launcher {
public:
    Launcher(const std::wstring& exe, const std::wstring& arguments) {
        std::wstring line = L"\"" + exe + L"\" " + arguments;
        std::vector<wchar_t> buffer(line.begin(), line.end());
        buffer.push_back(L'\0');
        STARTUPINFOW si = {sizeof(si)};
        PROCESS_INFORMATION pi = {};
        if (CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                           &si, &pi)) {
            CloseHandle(pi.hThread);
            m_process = pi.hProcess;
            m_id = pi.dwProcessId;
        }
    }
    ~Launcher() {
        if (!m_process) return;
        if (WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT) {
            TerminateProcess(m_process, 1);
            WaitForSingleObject(m_process, 5000);
        }
        CloseHandle(m_process);
    }
    bool started() const { return m_process != nullptr; }
    bool Ended() const { return WaitForSingleObject(m_process, 0) == WAIT_OBJECT_0; }

    // A top-level window of the process with this title, or null.
    HWND Window(const std::wstring& title) const {
        return FindTopLevelWindow([this, &title](HWND wnd) {
            wchar_t text[128] = L"";
            GetWindowTextW(wnd, text, 128);
            return ProcessOf(wnd) == m_id && title == text;
        });
    }

    // An ordinary start shows the main window and stays.
    bool WentOnToAnOrdinaryStart(DWORD timeoutMs) const {
        return WaitFor([&] { return Window(L"Vorel - Tolv") != nullptr; }, timeoutMs) && !Ended();
    }

private:
    HANDLE m_process = nullptr;
    DWORD m_id = 0;
};

class SelfUpdate : public ::testing::Test {
protected:
    void SetUp() override {
        ResetLauncherState();
        DeleteTree(L"C:\\vorel-e2e");
        // The browser's cache key exists on a real system: an ordinary start writes its limit.
        HKEY key = nullptr;
        RegCreateKeyExW(HKEY_CURRENT_USER, kCacheContentKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr);
        RegDeleteValueW(key, L"CacheLimit");
        RegCloseKey(key);
        configRequestsBefore = LogEntriesFor(kConfigPath).size();
        exe = PlaceLauncher(kFolder);
        launcherBytes = ReadFileBytes(exe);
        newBuildBytes = ReadFileBytes(newBuild);
        ASSERT_FALSE(launcherBytes.empty());
        ASSERT_FALSE(newBuildBytes.empty());
    }
    void TearDown() override {
        ResetLauncherState();
        DeleteTree(L"C:\\vorel-e2e");
    }
    // The configuration announces `key` for the build at buildPath, served with `more`.
    void Announce(const std::string& key, const std::string& more = "") {
        config.reset(new PublisherFault(kConfigPath, UpdateConfigBody(key, buildPath)));
        build.reset(new PublisherFault(buildPath, ServeFile(newBuild, more)));
    }
    // Requests for the update configuration made by this test.
    size_t ConfigRequests() const {
        return LogEntriesFor(kConfigPath).size() - configRequestsBefore;
    }
    std::string NewBuildKey() const { return vorel::FileVersionKey(newBuild.c_str()); }
    std::wstring Beside(const wchar_t* name) const { return kFolder + L"\\" + name; }
    bool UpdateTimeIsToday() {
        const std::vector<BYTE> raw = ReadRegBinary(HKEY_LOCAL_MACHINE, kProductKey, L"UpdTime");
        if (raw.size() != sizeof(SYSTEMTIME)) return false;
        SYSTEMTIME stored, now;
        memcpy(&stored, raw.data(), sizeof(stored));
        GetSystemTime(&now);
        return stored.wYear == now.wYear && stored.wMonth == now.wMonth && stored.wDay == now.wDay;
    }
    bool CacheLimitWritten() {
        return RegValueExists(HKEY_CURRENT_USER, kCacheContentKey, L"CacheLimit");
    }
    void ExpectNothingChanged() {
        EXPECT_EQ(ReadFileBytes(exe), launcherBytes);
        EXPECT_FALSE(FileExists(Beside(L"OldTolvVorel.exe")));
        EXPECT_FALSE(FileExists(Beside(L"NewTolvVorel.exe"))) << "the download is discarded";
        EXPECT_FALSE(RegValueExists(HKEY_LOCAL_MACHINE, kProductKey, L"UpdTime"));
        EXPECT_TRUE(ProbeStartLine(exe).empty());
    }

    const std::wstring newBuild = InBuildDir(L"launch_probe.exe");
    const std::string buildPath = TestPath("up/TolvVorel.exe");
    std::wstring exe;
    std::string launcherBytes, newBuildBytes;
    size_t configRequestsBefore = 0;
    std::unique_ptr<PublisherFault> config, build;
};

}  // namespace

TEST_F(SelfUpdate, UpdateSwitchPutsTheAnnouncedBuildInPlaceAndStartsIt) {
    Announce(NewBuildKey());
    ProcessResult r = RunLauncher(exe, L"/update");
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(ReadFileBytes(exe), newBuildBytes);
    EXPECT_EQ(ReadFileBytes(Beside(L"OldTolvVorel.exe")), launcherBytes);
    EXPECT_FALSE(FileExists(Beside(L"NewTolvVorel.exe")));
    EXPECT_TRUE(UpdateTimeIsToday());
    // The new build was started from the executable's own path, without arguments.
    ASSERT_TRUE(WaitFor([&] { return !ProbeStartLine(exe).empty(); }, 15000));
    EXPECT_EQ(ProbeStartLine(exe), "\"" + std::string(exe.begin(), exe.end()) + "\"");
    EXPECT_EQ(ConfigRequests(), 1u);
    EXPECT_EQ(LogEntriesFor(buildPath).size(), 1u);
    // An update hand-over counts no start and ends before the ordinary start.
    EXPECT_EQ(Counter(L"Game"), L"<missing>");
    EXPECT_FALSE(CacheLimitWritten());
}

TEST_F(SelfUpdate, AFileThatIsNotTheAnnouncedBuildIsNeverSwappedIn) {
    std::string key = NewBuildKey();
    key[0] = key[0] == '0' ? '1' : '0';  // another build's digits
    Announce(key);
    Launcher launcher(exe, L"/update");
    ASSERT_TRUE(launcher.started());
    ASSERT_TRUE(launcher.WentOnToAnOrdinaryStart(60000));
    EXPECT_EQ(LogEntriesFor(buildPath).size(), 1u) << "it was downloaded";
    ExpectNothingChanged();
    EXPECT_TRUE(WaitFor([&] { return CacheLimitWritten(); }, 10000));
}

TEST_F(SelfUpdate, EscDuringAStalledDownloadStopsItAndTheStartGoesOn) {
    Announce(NewBuildKey(), "\"stall_after\": 4096, \"stall\": 20");
    Launcher launcher(exe, L"/update");
    ASSERT_TRUE(launcher.started());
    HWND dialog = nullptr;
    ASSERT_TRUE(
        WaitFor([&] { return (dialog = launcher.Window(L"版本更新中...")) != nullptr; }, 30000));
    ASSERT_TRUE(WaitFor([&] { return FileSize(Beside(L"NewTolvVorel.exe")) >= 4096; }, 30000));
    const DWORD cancelAt = GetTickCount();
    PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
    // The cancel waits a bounded time for the blocked transfer, far less than the stall.
    ASSERT_TRUE(launcher.WentOnToAnOrdinaryStart(12000));
    EXPECT_LT(GetTickCount() - cancelAt, 12000u);
    ExpectNothingChanged();
    EXPECT_TRUE(WaitFor([&] { return CacheLimitWritten(); }, 10000));
}

TEST_F(SelfUpdate, TheDailyCheckAtAShortcutStartUpdatesOncePerDay) {
    Announce(NewBuildKey());
    ProcessResult r = RunLauncher(exe, L"/VorelD");
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(ReadFileBytes(exe), newBuildBytes);
    EXPECT_TRUE(UpdateTimeIsToday());
    EXPECT_TRUE(WaitFor([&] { return !ProbeStartLine(exe).empty(); }, 15000));
    EXPECT_EQ(Counter(L"Game"), L"<missing>") << "the updated build counts its own start";

    // Updated today: the next shortcut start does not ask the server and starts as usual.
    const std::wstring again = PlaceLauncher(kFolder, L"Again.exe");
    Launcher launcher(again, L"/VorelD");
    ASSERT_TRUE(launcher.started());
    ASSERT_TRUE(launcher.WentOnToAnOrdinaryStart(60000));
    EXPECT_EQ(ConfigRequests(), 1u);
    EXPECT_EQ(ReadFileBytes(again), launcherBytes);
    EXPECT_TRUE(WaitFor([&] { return Counter(L"Game") == L"1"; }, 10000));
}
