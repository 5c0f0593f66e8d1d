#include "net/UpdateRules.h"
#include "net/VersionKey.h"

#include <gtest/gtest.h>

namespace {
// MD5 of the empty input and of "abc" (RFC 1321 test suite).
const uint8_t kEmptyDigest[16] = {0xd4, 0x1d, 0x8c, 0xd9, 0x8f, 0x00, 0xb2, 0x04,
                                  0xe9, 0x80, 0x09, 0x98, 0xec, 0xf8, 0x42, 0x7e};
const uint8_t kAbcDigest[16] = {0x90, 0x01, 0x50, 0x98, 0x3c, 0xd2, 0x4f, 0xb0,
                                0xd6, 0x96, 0x3f, 0x7d, 0x28, 0xe1, 0x7f, 0x72};
}  // namespace

TEST(VersionKey, FirstTwentyEightLowerCaseDigitsThenTheVersion) {
    EXPECT_EQ(vorel::VersionDigits(L"3.0.0.1"), "3001");
    const std::string key = vorel::VersionKeyFromDigest(kEmptyDigest, L"3.0.0.1");
    EXPECT_EQ(key, "d41d8cd98f00b204e9800998ecf83001");
    EXPECT_EQ(key.size(), 32u);
    EXPECT_EQ(vorel::VersionKeyFromDigest(kAbcDigest, L"3.0.0.1"),
              "900150983cd24fb0d6963f7d28e13001");
}

TEST(VersionKey, ComparisonIgnoresLetterCaseOnly) {
    using vorel::SameVersionKey;
    EXPECT_TRUE(
        SameVersionKey("d41d8cd98f00b204e9800998ecf83001", "D41D8CD98F00B204E9800998ECF83001"));
    EXPECT_FALSE(
        SameVersionKey("d41d8cd98f00b204e9800998ecf83001", "d41d8cd98f00b204e9800998ecf83002"));
    EXPECT_FALSE(
        SameVersionKey("d41d8cd98f00b204e9800998ecf83001", "d41d8cd98f00b204e9800998ecf83001 "));
    EXPECT_FALSE(SameVersionKey("", "d41d8cd98f00b204e9800998ecf83001"));
    // The announcement is held in 64 bytes: a longer text compares by its first 63.
    const std::string longKey(70, 'a');
    EXPECT_EQ(vorel::AnnouncedKeyFromConfig(longKey), std::string(63, 'a'));
    EXPECT_EQ(vorel::AnnouncedKeyFromConfig(std::string("ab\0cd", 5)), "ab");
}

TEST(UpdateOffer, AnyOtherKeyIsAnUpdateButNothingToCompareIsNone) {
    using vorel::IsUpdateOffered;
    const std::string local = "d41d8cd98f00b204e9800998ecf83001";
    EXPECT_FALSE(IsUpdateOffered("D41D8CD98F00B204E9800998ECF83001", local));
    EXPECT_TRUE(IsUpdateOffered("900150983cd24fb0d6963f7d28e13001", local));
    // There is no order of versions: an older build is offered as well.
    EXPECT_TRUE(IsUpdateOffered("d41d8cd98f00b204e9800998ecf83000", local));
    EXPECT_FALSE(IsUpdateOffered("", local));
    EXPECT_FALSE(IsUpdateOffered("900150983cd24fb0d6963f7d28e13001", ""));
}

TEST(UpdateCheckStart, ForcedAlwaysRunsAutomaticAsksModeThenGate) {
    using vorel::DecideUpdateCheckStart;
    using vorel::UpdateCheckStart;
    for (int m = vorel::ModeInstall; m <= vorel::ModeGameHall; ++m) {
        const auto mode = static_cast<vorel::RunMode>(m);
        int asked = 0;
        auto open = [&asked] {
            ++asked;
            return true;
        };
        auto closed = [&asked] {
            ++asked;
            return false;
        };
        EXPECT_EQ(DecideUpdateCheckStart(true, mode, closed), UpdateCheckStart::Run) << m;
        EXPECT_EQ(asked, 0) << "a forced check must not touch the gate, mode " << m;
        const bool refused = m == 0 || m == 1 || m == 4 || m == 6;
        EXPECT_EQ(DecideUpdateCheckStart(false, mode, open),
                  refused ? UpdateCheckStart::RefusedByMode : UpdateCheckStart::Run)
            << m;
        EXPECT_EQ(DecideUpdateCheckStart(false, mode, closed),
                  refused ? UpdateCheckStart::RefusedByMode : UpdateCheckStart::NotDue)
            << m;
        EXPECT_EQ(asked, refused ? 0 : 2) << m;
    }
}

TEST(UpdateCheckStart, ConfigurationAddresses) {
    EXPECT_EQ(vorel::ConfigUrl(L"localhost:18461", L"TolvVorel"),
              L"http://localhost:18461/update/ConfigTolvVorel.htm");
    EXPECT_EQ(vorel::ConfigUrl(L"vorel.test", L"Fennik"),
              L"http://vorel.test/update/ConfigFennik.htm");
}

TEST(DownloadedBuild, MustBeACompleteExecutableOfTheAnnouncedBuild) {
    using vorel::CheckDownloadedBuild;
    using vorel::DownloadCheck;
    const std::string announced = "900150983cd24fb0d6963f7d28e13002";
    const std::string fileKey = "900150983cd24fb0d6963f7d28e13001";  // the file's own digits
    EXPECT_EQ(CheckDownloadedBuild(4096, "MZ\x90", fileKey, announced), DownloadCheck::Ok);
    // Letter case of the announcement does not matter.
    EXPECT_EQ(CheckDownloadedBuild(4096, "MZ", fileKey, "900150983CD24FB0D6963F7D28E13002"),
              DownloadCheck::Ok);
    EXPECT_EQ(CheckDownloadedBuild(0, "", fileKey, announced), DownloadCheck::Empty);
    EXPECT_EQ(CheckDownloadedBuild(1, "M", fileKey, announced), DownloadCheck::NotAnExecutable);
    EXPECT_EQ(CheckDownloadedBuild(500, "<html>", fileKey, announced),
              DownloadCheck::NotAnExecutable);
    EXPECT_EQ(CheckDownloadedBuild(500, "mz", fileKey, announced), DownloadCheck::NotAnExecutable);
    // One digit off in the 28: another file than the one announced.
    EXPECT_EQ(CheckDownloadedBuild(4096, "MZ", "900150983cd24fb0d6963f7d28e03001", announced),
              DownloadCheck::WrongBuild);
    // A short or missing announcement cannot vouch for any file.
    EXPECT_EQ(CheckDownloadedBuild(4096, "MZ", fileKey, "9001509"), DownloadCheck::WrongBuild);
    EXPECT_EQ(CheckDownloadedBuild(4096, "MZ", fileKey, ""), DownloadCheck::WrongBuild);
    EXPECT_EQ(CheckDownloadedBuild(4096, "MZ", "", announced), DownloadCheck::WrongBuild);
}
