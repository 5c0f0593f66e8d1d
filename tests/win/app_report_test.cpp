// The report thread and its two events, against the publisher server.
#include <gtest/gtest.h>

#include "DeployConfig.h"
#include "app/ReportUrl.h"
#include "app/StatisticsReport.h"
#include "support/PublisherTestSupport.h"
#include "support/WinTestSupport.h"

using namespace testsupport;

namespace {

class Report : public ::testing::Test {
protected:
    void SetUp() override {
        copied = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        ASSERT_NE(copied, nullptr);
        ASSERT_NE(done, nullptr);
    }
    void TearDown() override {
        // A thread still running must not find its events gone.
        WaitForSingleObject(done, 30000);
        CloseHandle(copied);
        CloseHandle(done);
    }
    bool Signalled(HANDLE e) { return WaitForSingleObject(e, 0) == WAIT_OBJECT_0; }
    HANDLE copied = nullptr;
    HANDLE done = nullptr;
};

}  // namespace

TEST_F(Report, TheThreadSendsTheReportAddressAndSignalsDone) {
    const std::string query = "tag=tolvvorel&ver=3.0.0.1&count=1";
    const size_t before = LogEntriesFor("/install.htm", query).size();
    std::wstring url = vorel::ReportUrl(VOREL_PUBLISHER_HOST, vorel::ReportKind::Install, 1);
    ASSERT_TRUE(vorel::SendReport(url.c_str(), copied, done));
    // The caller's buffer may go at once: the thread has its own copy.
    url.assign(url.size(), L'x');
    EXPECT_FALSE(Signalled(copied)) << "reset for the next report";
    ASSERT_EQ(WaitForSingleObject(done, 20000), WAIT_OBJECT_0);
    EXPECT_EQ(LogEntriesFor("/install.htm", query).size(), before + 1);
    EXPECT_TRUE(LogEntriesFor("/install.htm", "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx").empty());
}

TEST_F(Report, TheCallerDoesNotWaitForASlowServer) {
    const std::string path = TestPath("active.htm");
    PublisherFault fault(path, "{\"delay\": 3}");
    const std::wstring url = PublisherUrl(Widen(path)) + L"?tag=tolvvorel&ver=3.0.0.1&count=9";
    const DWORD start = GetTickCount();
    ASSERT_TRUE(vorel::SendReport(url.c_str(), copied, done));
    EXPECT_LT(GetTickCount() - start, 1500u);
    EXPECT_FALSE(Signalled(done));
    // Done comes when the request has been answered.
    ASSERT_EQ(WaitForSingleObject(done, 20000), WAIT_OBJECT_0);
    EXPECT_GE(GetTickCount() - start, 2900u);
    EXPECT_EQ(LogEntriesFor(path, "tag=tolvvorel&ver=3.0.0.1&count=9").size(), 1u);
}

TEST_F(Report, ARefusedAddressStillEndsWithDone) {
    const std::string path = TestPath("active.htm");
    const std::wstring url = L"https://" + PublisherUrl(Widen(path)).substr(7);
    ASSERT_TRUE(vorel::SendReport(url.c_str(), copied, done));
    EXPECT_EQ(WaitForSingleObject(done, 20000), WAIT_OBJECT_0);
    EXPECT_TRUE(LogEntriesFor(path).empty());
}

TEST_F(Report, WithoutAThreadNobodyIsLeftWaiting) {
    // No copied event: no safe hand-over of the address, so nothing is sent, and the done
    // event a one-shot start waits for is signalled at once.
    const std::string path = TestPath("install.htm");
    const std::wstring url = PublisherUrl(Widen(path));
    EXPECT_FALSE(vorel::SendReport(url.c_str(), nullptr, done));
    EXPECT_TRUE(Signalled(done));
    Sleep(300);
    EXPECT_TRUE(LogEntriesFor(path).empty());
}
