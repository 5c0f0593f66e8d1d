#include "app/ReportUrl.h"

#include <gtest/gtest.h>

TEST(ReportUrl, EachKindWithItsCounterAndExactQuery) {
    using vorel::ReportKind;
    using vorel::ReportUrl;
    EXPECT_EQ(ReportUrl(L"localhost:18461", ReportKind::Install, 1),
              L"http://localhost:18461/install.htm?tag=tolvvorel&ver=3.0.0.1&count=1");
    EXPECT_EQ(ReportUrl(L"stats.vorel.test", ReportKind::Start, 42),
              L"http://stats.vorel.test/active.htm?tag=tolvvorel&ver=3.0.0.1&count=42");
    EXPECT_EQ(ReportUrl(L"h", ReportKind::PartnerStart, 0),
              L"http://h/active.htm?tag=weboldra&ver=3.0.0.1&count=0");
    EXPECT_EQ(ReportUrl(L"h", ReportKind::Uninstall, 4294967295u),
              L"http://h/uninstall.htm?tag=tolvvorel&ver=3.0.0.1&count=4294967295");

    EXPECT_STREQ(vorel::ReportCounterKey(ReportKind::Install), L"Inst");
    EXPECT_STREQ(vorel::ReportCounterKey(ReportKind::Start), L"Game");
    EXPECT_STREQ(vorel::ReportCounterKey(ReportKind::PartnerStart), L"Vorel");
    EXPECT_STREQ(vorel::ReportCounterKey(ReportKind::Uninstall), L"UnInst");
}

TEST(ReportUrl, HeldInFiveHundredTwelveCharacters) {
    const std::wstring url = vorel::ReportUrl(std::wstring(600, L'h'), vorel::ReportKind::Start, 7);
    EXPECT_EQ(url.size(), 511u);
    EXPECT_EQ(url.substr(0, 7), L"http://");
}
