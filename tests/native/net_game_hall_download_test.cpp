#include "app/UpdateSchedule.h"
#include "net/GameHallDownload.h"

#include <gtest/gtest.h>

#include <set>

TEST(GameHallDownload, PercentLabelHasTwoBlanksBeforeTheNumber) {
    EXPECT_EQ(vorel::LoadedPercentText(0), L"已加载  0%");
    EXPECT_EQ(vorel::LoadedPercentText(42), L"已加载  42%");
    EXPECT_EQ(vorel::LoadedPercentText(100), L"已加载  100%");
}

TEST(GameHallDownload, ConfigurationBesideTheProgramAndInstallerInTheTemporaryFolder) {
    const vorel::GameHallFiles f = vorel::GameHallDownloadFiles(
        L"pub.vorel.test:8080", L"C:\\Games\\Vorel\\", L"C:\\Temp\\", L"Fennik");
    EXPECT_EQ(f.configUrl, L"http://pub.vorel.test:8080/update/ConfigFennik.htm");
    EXPECT_EQ(f.configFile, L"C:\\Games\\Vorel\\Fennik.ini");
    EXPECT_EQ(f.installerFile, L"C:\\Temp\\Fennik.exe");
}

TEST(GameHallDownload, APathThatWouldNotFitIsRefusedNotCut) {
    // 255 + 4 characters fit the 260 of a path with its terminator; one more does not.
    const std::wstring folder = L"C:\\" + std::wstring(250, L'f') + L"\\";  // 254 characters
    vorel::GameHallFiles f = vorel::GameHallDownloadFiles(L"h", folder, folder, L"a");
    EXPECT_EQ(f.configFile.size(), 259u);
    EXPECT_EQ(f.installerFile.size(), 259u);
    f = vorel::GameHallDownloadFiles(L"h", folder, L"C:\\Temp\\", L"ab");
    EXPECT_EQ(f.configFile, L"");
    EXPECT_EQ(f.installerFile, L"C:\\Temp\\ab.exe");
}

namespace {
std::set<unsigned> DisabledDays(uint32_t stored) {
    std::set<unsigned> days;
    for (unsigned day = 0; day < 7; ++day)
        if (vorel::IsDayDisabled(stored, day)) days.insert(day);
    return days;
}
}  // namespace

TEST(UpdateGateDays, FewerThanThreeNamedDaysAlsoNameSundayThroughTheirZeroBytes) {
    EXPECT_EQ(DisabledDays(0x00000106), (std::set<unsigned>{6, 1, 0}));
    EXPECT_EQ(DisabledDays(0x00000003), (std::set<unsigned>{3, 0}));
    EXPECT_EQ(DisabledDays(0), (std::set<unsigned>{}));
}
