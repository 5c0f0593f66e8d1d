#include "net/DownloadProgress.h"
#include "net/PublisherDomain.h"
#include "net/Url.h"

#include <gtest/gtest.h>

using vorel::SplitUrl;
using vorel::UrlParts;
using vorel::UrlSplit;

namespace {
UrlParts Split(const std::wstring& url) {
    UrlParts parts;
    EXPECT_EQ(SplitUrl(url, &parts), UrlSplit::Ok) << "refused";
    return parts;
}
}  // namespace

TEST(UrlSplitting, HostObjectAndDefaultPort) {
    UrlParts p = Split(L"http://vorel.test/update/ConfigTolvVorel.htm");
    EXPECT_EQ(p.host, L"vorel.test");
    EXPECT_EQ(p.port, 80);
    EXPECT_EQ(p.object, L"update/ConfigTolvVorel.htm");

    // No slash: the object name is empty; a slash alone gives an empty one as well.
    p = Split(L"http://vorel.test");
    EXPECT_EQ(p.host, L"vorel.test");
    EXPECT_EQ(p.object, L"");
    EXPECT_EQ(Split(L"http://vorel.test/").object, L"");

    // Only the first slash splits; later ones, and colons after it, belong to the object.
    p = Split(L"http://h/a.htm?next=http://x:81/y");
    EXPECT_EQ(p.host, L"h");
    EXPECT_EQ(p.port, 80);
    EXPECT_EQ(p.object, L"a.htm?next=http://x:81/y");

    // Text beyond the basic plane survives both wchar_t widths.
    EXPECT_EQ(Split(L"http://h/\u6e38\u620f/\U0001F600.htm").object,
              L"\u6e38\u620f/\U0001F600.htm");
}

TEST(UrlSplitting, PortFollowsTheCLibraryConversionCutTo16Bits) {
    EXPECT_EQ(Split(L"http://localhost:8080/x").port, 8080);
    EXPECT_EQ(Split(L"http://localhost:8080/x").host, L"localhost");
    // 84007 = 65536 + 18471: the low 16 bits are the port.
    EXPECT_EQ(Split(L"http://h:84007/").port, 18471);
    EXPECT_EQ(Split(L"http://h:-1/").port, 65535);
    EXPECT_EQ(Split(L"http://h:99999999999/").port, 0xFFFF);  // saturated int, low bits
    EXPECT_EQ(Split(L"http://h:abc/").port, 0);
    EXPECT_EQ(Split(L"http://h:/").port, 0);
    EXPECT_EQ(Split(L"http://h: 81/").port, 81);
    // The conversion stops at the first non-digit; the host ends at the first colon.
    UrlParts p = Split(L"http://h:81:82/");
    EXPECT_EQ(p.host, L"h");
    EXPECT_EQ(p.port, 81);
}

TEST(UrlSplitting, TheSchemeIsSkippedUnseen) {
    EXPECT_EQ(Split(L"HTTP://Vorel.Test/a").host, L"Vorel.Test");
    // Seven characters go whatever they are: "https:/" of an https address, leaving an
    // empty host that no connection accepts.
    UrlParts p = Split(L"https://vorel.test/a");
    EXPECT_EQ(p.host, L"");
    EXPECT_EQ(p.object, L"vorel.test/a");

    EXPECT_TRUE(vorel::HasHttpScheme(L"http://h/"));
    EXPECT_TRUE(vorel::HasHttpScheme(L"HtTp://h/"));
    EXPECT_FALSE(vorel::HasHttpScheme(L"https://h/"));
    EXPECT_FALSE(vorel::HasHttpScheme(L"http:/"));
    EXPECT_FALSE(vorel::HasHttpScheme(L" http://h/"));
    EXPECT_FALSE(vorel::HasHttpScheme(std::wstring(L"http:\0//h/", 10)));
}

TEST(UrlSplitting, PartsBeyondTheirBuffersAreRefused) {
    UrlParts p;
    EXPECT_EQ(SplitUrl(L"http:/", &p), UrlSplit::TooShort);
    EXPECT_EQ(SplitUrl(L"", &p), UrlSplit::TooShort);
    EXPECT_EQ(SplitUrl(L"http://", &p), UrlSplit::Ok);

    const std::wstring host259(259, L'h');
    EXPECT_EQ(SplitUrl(L"http://" + host259 + L"/x", &p), UrlSplit::Ok);
    EXPECT_EQ(p.host.size(), 259u);
    EXPECT_EQ(SplitUrl(L"http://" + host259 + L"h/x", &p), UrlSplit::HostTooLong);
    // The port is held in the same buffer as the host.
    EXPECT_EQ(SplitUrl(L"http://" + std::wstring(255, L'h') + L":8080/x", &p),
              UrlSplit::HostTooLong);
    EXPECT_EQ(SplitUrl(L"http://" + std::wstring(254, L'h') + L":8080/x", &p), UrlSplit::Ok);
    EXPECT_EQ(p.port, 8080);

    const std::wstring object511(511, L'o');
    EXPECT_EQ(SplitUrl(L"http://h/" + object511, &p), UrlSplit::Ok);
    EXPECT_EQ(p.object, object511);
    EXPECT_EQ(SplitUrl(L"http://h/" + object511 + L"o", &p), UrlSplit::ObjectTooLong);
    // A refusal leaves nothing that could be used by mistake.
    EXPECT_EQ(p.host, L"");
    EXPECT_EQ(p.object, L"");

    // An embedded terminator ends the address, as it ends a C buffer.
    p = Split(std::wstring(L"http://h/a\0"
                           L"b",
                           12) +
              std::wstring(600, L'x'));
    EXPECT_EQ(p.object, L"a");
}

TEST(PublisherDomainRule, ExactCaseSubstringAnywhereInTheAddress) {
    const auto domains = vorel::ParseDomainList(L"localhost;vorel.test;tolv.test");
    ASSERT_EQ(domains.size(), 3u);
    using vorel::NamesPublisherDomain;
    EXPECT_TRUE(NamesPublisherDomain(L"http://vorel.test/a.exe", domains));
    EXPECT_TRUE(NamesPublisherDomain(L"http://cdn.tolv.test:81/a.exe", domains));
    // Only in the query still counts.
    EXPECT_TRUE(NamesPublisherDomain(L"http://10.0.0.1/a.exe?from=vorel.test", domains));
    EXPECT_FALSE(NamesPublisherDomain(L"http://10.0.0.1/a.exe", domains));
    // Case is exact.
    EXPECT_FALSE(NamesPublisherDomain(L"http://VOREL.TEST/a.exe", domains));
    EXPECT_FALSE(NamesPublisherDomain(L"http://vorel.tes/a.exe", domains));
    // Nothing after an embedded terminator is looked at.
    EXPECT_FALSE(NamesPublisherDomain(std::wstring(L"http://x/\0vorel.test", 20), domains));
}

TEST(PublisherDomainRule, EmptyNamesNeverMatchEverything) {
    const auto domains = vorel::ParseDomainList(L";vorel.test;;");
    ASSERT_EQ(domains.size(), 1u);
    EXPECT_EQ(domains[0], L"vorel.test");
    EXPECT_FALSE(vorel::NamesPublisherDomain(L"http://other/", domains));
    EXPECT_TRUE(vorel::ParseDomainList(L"").empty());
    EXPECT_FALSE(vorel::NamesPublisherDomain(L"http://other/", vorel::ParseDomainList(L";;")));
    // The deployment value of this build holds names, and a foreign host matches none.
    EXPECT_FALSE(vorel::NamesPublisherDomain(L"http://192.0.2.7/x.exe"));
}

TEST(DownloadPercent, WholePercentWithoutOverflow) {
    using vorel::DownloadPercent;
    EXPECT_EQ(DownloadPercent(0, 1000), 0u);
    EXPECT_EQ(DownloadPercent(512, 1000), 51u);
    EXPECT_EQ(DownloadPercent(999, 1000), 99u);
    EXPECT_EQ(DownloadPercent(1000, 1000), 100u);
    // received × 100 would wrap in 32 bits for these.
    EXPECT_EQ(DownloadPercent(0xFFFFFFFEu, 0xFFFFFFFFu), 99u);
    EXPECT_EQ(DownloadPercent(42949673u, 0xFFFFFFFFu), 1u);
    EXPECT_EQ(DownloadPercent(42949672u, 0xFFFFFFFFu), 0u);
    EXPECT_EQ(DownloadPercent(0xFFFFFFFFu, 0xFFFFFFFFu), 100u);
    // A zero length is complete at once; more bytes than announced stay at 100.
    EXPECT_EQ(DownloadPercent(0, 0), 100u);
    EXPECT_EQ(DownloadPercent(5000, 1000), 100u);
}
