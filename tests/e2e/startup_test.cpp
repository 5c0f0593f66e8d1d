// The real TolvVorel.exe started with real command lines; checked through what it leaves
// in the product folder and the registry.
#include <gtest/gtest.h>

#include "support/InstallScenario.h"
#include "support/LauncherScenario.h"

using namespace testsupport;

namespace {

const std::wstring kDownloads = L"C:\\vorel-e2e\\Downloads";

class Startup : public ::testing::Test {
protected:
    void SetUp() override {
        ResetLauncherState();
        DeleteTree(L"C:\\vorel-e2e");
        // The browser's cache key exists on a real system; the launcher never creates it.
        HKEY key = nullptr;
        RegCreateKeyExW(HKEY_CURRENT_USER, kCacheContentKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr);
        RegDeleteValueW(key, L"CacheLimit");
        RegCloseKey(key);
    }
    void TearDown() override {
        ResetLauncherState();
        DeleteTree(L"C:\\vorel-e2e");
    }
    bool CacheLimitWritten() {
        return RegValueExists(HKEY_CURRENT_USER, kCacheContentKey, L"CacheLimit");
    }
};

}  // namespace

TEST_F(Startup, NoArgumentsFromADownloadFolderCountsAnInstallAndPicksDisabledDays) {
    const std::wstring exe = PlaceLauncher(kDownloads);
    ProcessResult r = RunLauncher(exe, L"");
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(Counter(L"Inst"), L"1");
    std::vector<BYTE> days = ReadRegBinary(HKEY_LOCAL_MACHINE, kProductKey, L"DisableDays");
    ASSERT_EQ(days.size(), 4u);
    EXPECT_LT(days[0], 7);
    EXPECT_LT(days[1], 7);
    EXPECT_LT(days[2], 7);
    EXPECT_EQ(days[3], 0);
    // The installer counts no start of its own: the one start is the installed copy's.
    EXPECT_TRUE(WaitFor([] { return Counter(L"Game") == L"1"; }, 30000));
    StopLauncherProcesses(5000);
    EXPECT_EQ(Counter(L"Game"), L"1");
}

TEST_F(Startup, AGarbageInstallCounterIsRewrittenAsOne) {
    EnsureDir(ProductFolder());
    WriteIniValue(CounterFile(), L"TolvVorel", L"Inst", L"abc");
    ASSERT_TRUE(RunLauncher(PlaceLauncher(kDownloads), L"").finished);
    EXPECT_EQ(Counter(L"Inst"), L"1");
    ASSERT_TRUE(RunLauncher(PlaceLauncher(kDownloads), L"").finished);
    EXPECT_EQ(Counter(L"Inst"), L"2");
}

TEST_F(Startup, ShortcutSwitchInAnyCaseCountsAStartAndSetsTheCacheLimit) {
    const std::wstring exe = PlaceLauncher(kDownloads);
    ASSERT_TRUE(RunLauncher(exe, L"/vOrElD").finished);
    EXPECT_EQ(Counter(L"Game"), L"1");
    EXPECT_EQ(Counter(L"Inst"), L"<missing>");
    std::vector<BYTE> limit = ReadRegBinary(HKEY_CURRENT_USER, kCacheContentKey, L"CacheLimit");
    ASSERT_EQ(limit.size(), 4u);
    EXPECT_EQ(*reinterpret_cast<const DWORD*>(limit.data()), 1048576u);
}

TEST_F(Startup, NoArgumentsInsideTheProductFolderIsAnInstalledStart) {
    // The folder test ignores case.
    std::wstring folder = ProductFolder();
    for (auto& c : folder) c = towlower(c);
    const std::wstring exe = PlaceLauncher(folder);
    ASSERT_TRUE(RunLauncher(exe, L"").finished);
    EXPECT_EQ(Counter(L"Game"), L"1");
    EXPECT_EQ(Counter(L"Inst"), L"<missing>");
    EXPECT_TRUE(CacheLimitWritten());
}

TEST_F(Startup, PartnerStartCountsItsOwnCounter) {
    const std::wstring exe = PlaceLauncher(kDownloads);
    EnsureDir(ProductFolder());
    WriteIniValue(CounterFile(), L"TolvVorel", L"Game", L"5");
    ASSERT_TRUE(RunLauncher(exe, L"/OldraD").finished);
    EXPECT_EQ(Counter(L"Vorel"), L"1");
    EXPECT_EQ(Counter(L"Game"), L"5");
    EXPECT_FALSE(CacheLimitWritten());
}

TEST_F(Startup, GameWindowRolesCountNothingButSetTheCacheLimit) {
    const std::wstring exe = PlaceLauncher(kDownloads);
    ASSERT_TRUE(RunLauncher(exe, L"/newgm /0 /0").finished);
    ASSERT_TRUE(RunLauncher(exe, L"/GMHALL /0").finished);
    EXPECT_TRUE(CacheLimitWritten());
    EXPECT_EQ(Counter(L"Game"), L"<missing>");
    EXPECT_EQ(Counter(L"Inst"), L"<missing>");
}

TEST_F(Startup, AnyCommandLineEndsWithoutACrash) {
    const std::wstring exe = PlaceLauncher(kDownloads);
    const std::wstring lines[] = {
        L"\"\"",
        L"/newgm",
        L"/newgm 99999999999999999999999 -",
        L"/gmhall",
        L"/" + std::wstring(5000, L'x'),
        L"/newgm /" + std::wstring(3000, L'9') + L" /" + std::wstring(3000, L'9'),
        L"\"/VorelD\" \"\" \"\"",
    };
    for (const auto& args : lines) {
        ProcessResult r = RunLauncher(exe, args);
        ASSERT_TRUE(r.finished) << "hung";
        EXPECT_LT(r.exitCode, 0xC0000000u) << "crashed";
        EXPECT_FALSE(FileExists(L"C:\\vorel-e2e\\Downloads\\TolvVorel.dmp"));
    }
}
