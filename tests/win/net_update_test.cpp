// The version key, the update check and the executable swap, against the publisher server.
#include <gtest/gtest.h>

#include "net/FileDigest.h"
#include "net/SelfUpdate.h"
#include "support/PublisherTestSupport.h"
#include "support/ServedFiles.h"
#include "support/WinTestSupport.h"

using namespace testsupport;

namespace {

const char kAbcKey[] = "900150983cd24fb0d6963f7d28e13001";  // MD5("abc") cut, then "3001"

std::string Config(const std::string& key, const std::string& address) {
    return "; announced by the test\r\n[VerKey]\r\nTolvVorel=" + key + "\r\nUpdAddr=" + address +
           "\r\n";
}

class UpdateCheck : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(WriteFileBytes(dir.File(L"TolvVorel.exe"), "abc"));
        setup.configUrl = PublisherUrl(Widen(configPath));
        setup.configFile = dir.File(L"ConfigTolvVorel.htm");
        setup.exePath = dir.File(L"TolvVorel.exe");
        setup.dailyGateOpen = [this] {
            ++gateAsked;
            return gateOpen;
        };
    }
    TempFolder dir;
    const std::string configPath = TestPath("update/ConfigTolvVorel.htm");
    vorel::UpdateCheckSetup setup;
    bool gateOpen = true;
    int gateAsked = 0;
    vorel::UpdateOffer offer;
};

}  // namespace

TEST(VersionKey, TwentyEightDigitsOfTheFilesMd5ThenTheVersion) {
    TempFolder dir;
    const std::wstring file = dir.File(L"a.bin");
    ASSERT_TRUE(WriteFileBytes(file, "abc"));
    EXPECT_EQ(vorel::FileVersionKey(file.c_str()), kAbcKey);
    // One byte changed is another build.
    ASSERT_TRUE(WriteFileBytes(file, "abd"));
    EXPECT_NE(vorel::FileVersionKey(file.c_str()), kAbcKey);
    // Around the 1024-byte read block (digests computed elsewhere).
    const struct {
        size_t size;
        const char* key;
    } cases[] = {{0, "d41d8cd98f00b204e9800998ecf83001"},
                 {1023, "ef36d22bc8426130df55b60f828a3001"},
                 {1024, "930053e6d45c93ff2666c98bcd963001"},
                 {1025, "7a5cd6f1683e540add5d3c843f173001"}};
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteFileBytes(file, Pattern(c.size)));
        EXPECT_EQ(vorel::FileVersionKey(file.c_str()), c.key) << c.size << " bytes";
    }
    EXPECT_EQ(vorel::FileVersionKey(dir.File(L"missing.bin").c_str()), "");

    // The running executable's key is its own file's.
    const std::string local = vorel::LocalVersionKey();
    ASSERT_EQ(local.size(), 32u);
    EXPECT_EQ(local, vorel::FileVersionKey(InBuildDir(L"vorel_win_tests.exe").c_str()));
    EXPECT_EQ(local.substr(28), "3001");
}

TEST_F(UpdateCheck, AKeyDifferingOnlyInCaseIsNoUpdateAndTheConfigurationIsDeleted) {
    PublisherFault fault(configPath, "{\"body\": " +
                                         JsonString(Config("900150983CD24FB0D6963F7D28E13001",
                                                           "http://localhost/new.exe")) +
                                         "}");
    EXPECT_FALSE(vorel::CheckForUpdate(setup, true, vorel::ModeUpdate, &offer));
    EXPECT_EQ(offer.key, "900150983CD24FB0D6963F7D28E13001");
    EXPECT_EQ(offer.address, L"http://localhost/new.exe");
    EXPECT_FALSE(FileExists(setup.configFile));
    EXPECT_EQ(LogEntriesFor(configPath).size(), 1u);
}

TEST_F(UpdateCheck, AnyOtherKeyOffersTheUpdateAndItsAddress) {
    // An older build's key, too: there is no order of versions.
    PublisherFault fault(configPath, "{\"body\": " +
                                         JsonString(Config("900150983cd24fb0d6963f7d28e13000",
                                                           "http://vorel.test/up/TolvVorel.exe")) +
                                         "}");
    EXPECT_TRUE(vorel::CheckForUpdate(setup, true, vorel::ModeUpdate, &offer));
    EXPECT_EQ(offer.address, L"http://vorel.test/up/TolvVorel.exe");
    EXPECT_FALSE(FileExists(setup.configFile));
}

TEST_F(UpdateCheck, AnIncompleteOrEmptyConfigurationIsNoUpdate) {
    {
        PublisherFault fault(
            configPath, "{\"body\": " + JsonString(Config("ffff", "x")) + ", \"no_length\": true}");
        EXPECT_FALSE(vorel::CheckForUpdate(setup, true, vorel::ModeUpdate, &offer));
        EXPECT_EQ(offer.key, "") << "an unmeasured configuration is not read";
        EXPECT_FALSE(FileExists(setup.configFile));
    }
    {
        PublisherFault fault(
            configPath, "{\"body\": " + JsonString(Config("ffff", "x")) + ", \"cut_after\": 30}");
        EXPECT_FALSE(vorel::CheckForUpdate(setup, true, vorel::ModeUpdate, &offer));
        EXPECT_EQ(offer.key, "");
        EXPECT_FALSE(FileExists(setup.configFile)) << "the partial file is not left behind";
    }
    {
        PublisherFault fault(configPath,
                             "{\"body\": \"[VerKey]\\r\\nUpdAddr=http://localhost/x.exe\\r\\n\"}");
        EXPECT_FALSE(vorel::CheckForUpdate(setup, true, vorel::ModeUpdate, &offer));
        EXPECT_EQ(offer.address, L"http://localhost/x.exe");
    }
    // No configuration at all: 404.
    EXPECT_FALSE(vorel::CheckForUpdate(setup, true, vorel::ModeUpdate, &offer));
    EXPECT_EQ(LogEntriesFor(configPath).size(), 4u);
}

TEST_F(UpdateCheck, TheDailyGateStopsTheAutomaticCheckButNotTheForcedOne) {
    PublisherFault fault(configPath, "{\"body\": " + JsonString(Config("ffff", "x")) + "}");
    gateOpen = false;
    EXPECT_FALSE(vorel::CheckForUpdate(setup, false, vorel::ModeShortcutStart, &offer));
    EXPECT_EQ(gateAsked, 1);
    EXPECT_TRUE(LogEntriesFor(configPath).empty()) << "a closed gate asks no server";

    EXPECT_TRUE(vorel::CheckForUpdate(setup, true, vorel::ModeShortcutStart, &offer));
    EXPECT_EQ(gateAsked, 1) << "a forced check does not ask the gate";
    EXPECT_EQ(LogEntriesFor(configPath).size(), 1u);

    // An install start never checks, gate open or not.
    gateOpen = true;
    EXPECT_FALSE(vorel::CheckForUpdate(setup, false, vorel::ModeInstall, &offer));
    EXPECT_EQ(gateAsked, 1);
    EXPECT_EQ(LogEntriesFor(configPath).size(), 1u);
    // With the gate open the automatic check asks the server.
    EXPECT_TRUE(vorel::CheckForUpdate(setup, false, vorel::ModeShortcutStart, &offer));
    EXPECT_EQ(LogEntriesFor(configPath).size(), 2u);
}

TEST(UpdateCheckDefaults, ThePublishedConfigurationAnnouncesNoUpdate) {
    vorel::UpdateOffer offer;
    offer.key = "stale";
    EXPECT_FALSE(vorel::CheckForUpdate(true, vorel::ModeUpdate, &offer));
    EXPECT_EQ(offer.key, "");
    EXPECT_GE(LogEntriesFor("/update/ConfigTolvVorel.htm").size(), 1u);
    EXPECT_FALSE(FileExists(InBuildDir(L"ConfigTolvVorel.htm")));
}

namespace {

const char kNewBuild[] = "MZ new build";
// MD5("MZ new build") cut to 28 digits, with another version's digits.
const char kNewBuildKey[] = "f4f6887353340b4cf8350897ea2f3002";

class ApplyUpdate : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(WriteFileBytes(exe, "MZ old build")); }
    void Announce(const std::string& body, const std::string& key) {
        fault.reset(new PublisherFault(buildPath, "{\"body\": " + JsonString(body) + "}"));
        offer.key = key;
        offer.address = PublisherUrl(Widen(buildPath));
    }
    static bool Download(const std::wstring& url, const std::wstring& target) {
        return vorel::DownloadUpdate(url, target, nullptr, nullptr);
    }
    bool MarkedForDeletionAtRestart(const std::wstring& path) {
        const std::vector<BYTE> raw = ReadRegBinary(
            HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Session Manager",
            L"PendingFileRenameOperations");
        const std::wstring text(reinterpret_cast<const wchar_t*>(raw.data()), raw.size() / 2);
        return text.find(L"\\??\\" + path + std::wstring(1, L'\0') + std::wstring(1, L'\0')) !=
               std::wstring::npos;
    }

    TempFolder dir;
    const std::wstring exe = dir.File(L"TolvVorel.exe");
    const std::wstring newExe = dir.File(L"NewTolvVorel.exe");
    const std::wstring oldExe = dir.File(L"OldTolvVorel.exe");
    const std::string buildPath = TestPath("up/TolvVorel.exe");
    std::unique_ptr<PublisherFault> fault;
    vorel::UpdateOffer offer;
};

}  // namespace

TEST_F(ApplyUpdate, TheAnnouncedBuildTakesThePlaceOfTheExecutable) {
    Announce(kNewBuild, kNewBuildKey);
    EXPECT_EQ(vorel::ApplyUpdate(exe, offer, Download), vorel::UpdateResult::Applied);
    EXPECT_EQ(ReadFileBytes(exe), kNewBuild);
    EXPECT_EQ(ReadFileBytes(oldExe), "MZ old build");
    EXPECT_FALSE(FileExists(newExe));
    EXPECT_TRUE(MarkedForDeletionAtRestart(oldExe));
    EXPECT_EQ(LogEntriesFor(buildPath).size(), 1u);
}

TEST_F(ApplyUpdate, AFileThatIsNotTheAnnouncedExecutableIsNeverSwappedIn) {
    // Complete, but another file than the one announced (a substituted or damaged build).
    Announce("MZ other build", kNewBuildKey);
    EXPECT_EQ(vorel::ApplyUpdate(exe, offer, Download), vorel::UpdateResult::Rejected);
    EXPECT_EQ(ReadFileBytes(exe), "MZ old build");
    EXPECT_FALSE(FileExists(newExe));
    EXPECT_FALSE(FileExists(oldExe));

    // The announced file, but no executable: an error page whose digits were announced.
    const std::string page = "<html>busy</html>";
    TempFolder side;
    ASSERT_TRUE(WriteFileBytes(side.File(L"page"), page));
    Announce(page, vorel::FileVersionKey(side.File(L"page").c_str()));
    EXPECT_EQ(vorel::ApplyUpdate(exe, offer, Download), vorel::UpdateResult::Rejected);
    EXPECT_EQ(ReadFileBytes(exe), "MZ old build");
    EXPECT_FALSE(FileExists(newExe));
}

TEST_F(ApplyUpdate, AFailedDownloadLeavesEverythingAsItWas) {
    offer.key = kNewBuildKey;
    offer.address = PublisherUrl(Widen(buildPath));  // nothing there: 404
    EXPECT_EQ(vorel::ApplyUpdate(exe, offer, Download), vorel::UpdateResult::DownloadFailed);
    EXPECT_EQ(ReadFileBytes(exe), "MZ old build");
    EXPECT_FALSE(FileExists(newExe));

    // An address outside the publisher domains is not even asked for.
    Announce(kNewBuild, kNewBuildKey);
    offer.address = L"http://127.0.0.1:" + std::to_wstring(PublisherPort()) + Widen(buildPath);
    EXPECT_EQ(vorel::ApplyUpdate(exe, offer, Download), vorel::UpdateResult::DownloadFailed);
    EXPECT_EQ(LogEntriesFor(buildPath).size(), 1u) << "only the 404 above";
    EXPECT_EQ(ReadFileBytes(exe), "MZ old build");
}

TEST_F(ApplyUpdate, WhenTheNewBuildCannotBeMovedInTheOldOneIsPutBack) {
    Announce(kNewBuild, kNewBuildKey);
    HANDLE blocker = INVALID_HANDLE_VALUE;
    // The download arrives, but something holds it open without letting it be moved.
    auto downloadAndHold = [&](const std::wstring& url, const std::wstring& target) {
        const bool ok = Download(url, target);
        blocker = CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
        return ok;
    };
    EXPECT_EQ(vorel::ApplyUpdate(exe, offer, downloadAndHold), vorel::UpdateResult::SwapFailed);
    ASSERT_NE(blocker, INVALID_HANDLE_VALUE);
    CloseHandle(blocker);
    EXPECT_EQ(ReadFileBytes(exe), "MZ old build") << "the launcher keeps a working executable";
    EXPECT_FALSE(FileExists(oldExe));
}

TEST_F(ApplyUpdate, WhenTheExecutableCannotBeMovedNothingChanges) {
    Announce(kNewBuild, kNewBuildKey);
    HANDLE running =
        CreateFileW(exe.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(running, INVALID_HANDLE_VALUE);
    EXPECT_EQ(vorel::ApplyUpdate(exe, offer, Download), vorel::UpdateResult::SwapFailed);
    CloseHandle(running);
    EXPECT_EQ(ReadFileBytes(exe), "MZ old build");
    EXPECT_FALSE(FileExists(newExe));
    EXPECT_FALSE(FileExists(oldExe));
}
