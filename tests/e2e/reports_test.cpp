// The real TolvVorel.exe reports installs and starts to the publisher server.
#include <gtest/gtest.h>

#include "support/LauncherScenario.h"
#include "support/PublisherTestSupport.h"

using namespace testsupport;

namespace {

const std::wstring kDownloads = L"C:\\vorel-e2e\\Downloads";

class Reports : public ::testing::Test {
protected:
    void SetUp() override {
        ResetLauncherState();
        DeleteTree(L"C:\\vorel-e2e");
    }
    void TearDown() override {
        ResetLauncherState();
        DeleteTree(L"C:\\vorel-e2e");
    }
    size_t Entries(const std::string& path, const std::string& query) {
        return LogEntriesFor(path, query).size();
    }
};

}  // namespace

TEST_F(Reports, AFreshInstallReportsCountOneBeforeItEnds) {
    const std::string query = "tag=tolvvorel&ver=3.0.0.1&count=1";
    const size_t before = Entries("/install.htm", query);
    ProcessResult r = RunLauncher(PlaceLauncher(kDownloads), L"");
    ASSERT_TRUE(r.finished);
    // An install waits for its report: the entry is there when the process has ended.
    EXPECT_EQ(Entries("/install.htm", query), before + 1);
    EXPECT_EQ(Counter(L"Inst"), L"1");
    // The second install carries the next number.
    const std::string second = "tag=tolvvorel&ver=3.0.0.1&count=2";
    const size_t beforeSecond = Entries("/install.htm", second);
    ASSERT_TRUE(RunLauncher(PlaceLauncher(kDownloads), L"").finished);
    EXPECT_EQ(Entries("/install.htm", second), beforeSecond + 1);
}

TEST_F(Reports, AShortcutStartReportsTheStartWithItsOwnCount) {
    EnsureDir(ProductFolder());
    WriteIniValue(CounterFile(), L"TolvVorel", L"Game", L"41");
    WriteIniValue(CounterFile(), L"TolvVorel", L"Inst", L"7");
    const std::string query = "tag=tolvvorel&ver=3.0.0.1&count=42";
    const size_t before = Entries("/active.htm", query);
    ASSERT_TRUE(RunLauncher(PlaceLauncher(kDownloads), L"/VorelD").finished);
    EXPECT_TRUE(WaitForLogEntries("/active.htm", query, before + 1, 10000));
    EXPECT_EQ(Counter(L"Game"), L"42");
    EXPECT_EQ(Counter(L"Inst"), L"7");
}

TEST_F(Reports, APartnerStartReportsTheWeboldraTagWithItsOwnCounter) {
    EnsureDir(ProductFolder());
    WriteIniValue(CounterFile(), L"TolvVorel", L"Game", L"5");
    const std::string query = "tag=weboldra&ver=3.0.0.1&count=1";
    const size_t before = Entries("/active.htm", query);
    ASSERT_TRUE(RunLauncher(PlaceLauncher(kDownloads), L"/OldraD").finished);
    // The partner start waits for its report too.
    EXPECT_EQ(Entries("/active.htm", query), before + 1);
    EXPECT_EQ(Counter(L"Vorel"), L"1");
    EXPECT_EQ(Counter(L"Game"), L"5");
}

TEST_F(Reports, AStartDoesNotWaitForASlowServerButAnInstallDoes) {
    PublisherFault slow("/active.htm", "{\"delay\": 12}");
    DWORD start = GetTickCount();
    ProcessResult r = RunLauncher(PlaceLauncher(kDownloads), L"/VorelD");
    ASSERT_TRUE(r.finished);
    // At most a short grace at exit for the report still under way, never the answer.
    EXPECT_LT(GetTickCount() - start, 9000u);
    EXPECT_EQ(Counter(L"Game"), L"1");

    PublisherFault slowInstall("/install.htm", "{\"delay\": 4}");
    start = GetTickCount();
    ASSERT_TRUE(RunLauncher(PlaceLauncher(kDownloads), L"").finished);
    EXPECT_GE(GetTickCount() - start, 3900u);
    EXPECT_EQ(Counter(L"Inst"), L"1");
}
