#include "app/RunMode.h"

#include <gtest/gtest.h>

using vorel::DecideRunMode;

namespace {
const std::wstring kProduct = L"C:\\ProgramData\\Vorel\\GameLogin";
const std::wstring kInstalled = L"C:\\ProgramData\\Vorel\\GameLogin\\TolvVorel.exe";
const std::wstring kDownloaded = L"C:\\Users\\p\\Downloads\\TolvVorel.exe";

vorel::RunModeDecision Decide(std::vector<std::wstring> rest, const std::wstring& exe = kDownloaded) {
    rest.insert(rest.begin(), exe);
    return DecideRunMode(rest, exe, kProduct);
}
}  // namespace

TEST(RunModeDecision, SwitchesAreRecognisedInAnyLetterCase) {
    EXPECT_EQ(Decide({L"/VorelD"}).mode, vorel::ModeShortcutStart);
    EXPECT_EQ(Decide({L"/vorELd"}).mode, vorel::ModeShortcutStart);
    EXPECT_EQ(Decide({L"/OLDRAD"}).mode, vorel::ModePartnerStart);
    EXPECT_EQ(Decide({L"/UnInst"}).mode, vorel::ModeUninstall);
    EXPECT_EQ(Decide({L"/UPDATE"}).mode, vorel::ModeUpdate);
    EXPECT_EQ(Decide({L"/NewGM", L"/5", L"/1"}).mode, vorel::ModeNewGameWindow);
    EXPECT_EQ(Decide({L"/GMHALL", L"/5"}).mode, vorel::ModeGameHall);
}

TEST(RunModeDecision, OnlyTheFirstArgumentIsASwitch) {
    EXPECT_EQ(Decide({L"x", L"/VorelD"}).mode, vorel::ModeInstall);
    EXPECT_EQ(Decide({L"/VorelDX"}).mode, vorel::ModeInstall);
    EXPECT_EQ(Decide({L"VorelD"}).mode, vorel::ModeInstall);
    EXPECT_EQ(Decide({L"/VorelD", L"extra", L"args"}).mode, vorel::ModeShortcutStart);
}

TEST(RunModeDecision, NoSwitchDependsOnTheExecutablesFolder) {
    EXPECT_EQ(Decide({}).mode, vorel::ModeInstall);
    EXPECT_EQ(Decide({}, kInstalled).mode, vorel::ModeInstalledStart);
    // Compared as an upper-cased substring of the whole path.
    EXPECT_EQ(Decide({}, L"c:\\programdata\\vorel\\gamelogin\\sub\\x.exe").mode,
              vorel::ModeInstalledStart);
    EXPECT_EQ(Decide({L"/unknown"}, kInstalled).mode, vorel::ModeInstalledStart);
    EXPECT_EQ(Decide({L""}, kInstalled).mode, vorel::ModeInstalledStart);
    EXPECT_EQ(Decide({}, L"C:\\ProgramData\\Vorel\\GameLog\\TolvVorel.exe").mode, vorel::ModeInstall);
    EXPECT_EQ(Decide({}, L"").mode, vorel::ModeInstall);
}

TEST(RunModeDecision, NewGameWindowAlwaysSkipsTheFirstCharacterOfEachArgument) {
    auto d = Decide({L"/newgm", L"/1234", L"/2"});
    EXPECT_EQ(d.parentWindow, 1234);
    EXPECT_EQ(d.tabNumber, 2);
    d = Decide({L"/newgm", L"1234", L"2"});
    EXPECT_EQ(d.mode, vorel::ModeNewGameWindow);
    EXPECT_EQ(d.parentWindow, 234);
    EXPECT_EQ(d.tabNumber, 0);
    d = Decide({L"/gmhall", L"/99"});
    EXPECT_EQ(d.parentWindow, 99);
    EXPECT_EQ(d.tabNumber, 0);
}

TEST(RunModeDecision, BadGameWindowArgumentsGiveADefinedResult) {
    auto d = Decide({L"/newgm"});
    EXPECT_EQ(d.mode, vorel::ModeNewGameWindow);
    EXPECT_EQ(d.parentWindow, 0);
    EXPECT_EQ(d.tabNumber, 0);
    d = Decide({L"/newgm", L"", L""});
    EXPECT_EQ(d.parentWindow, 0);
    EXPECT_EQ(d.tabNumber, 0);
    d = Decide({L"/newgm", L"/abc", L"/-3"});
    EXPECT_EQ(d.parentWindow, 0);
    EXPECT_EQ(d.tabNumber, -3);
    d = Decide({L"/gmhall", L"/12x34"});
    EXPECT_EQ(d.parentWindow, 12);
}

TEST(RunModeDecision, LongArgumentsAreCutToTheirBuffers) {
    // 16 characters hold the slash and 14 digits; the value saturates rather than wraps.
    auto d = Decide({L"/newgm", L"/123456789012345678901234567890", L"/1234567890"});
    EXPECT_EQ(d.parentWindow, INT32_MAX);
    // 8 characters hold the slash and six digits.
    EXPECT_EQ(d.tabNumber, 123456);
    d = Decide({L"/newgm", L"/2147483648", L"/1"});
    EXPECT_EQ(d.parentWindow, INT32_MAX);
    d = Decide({L"/newgm", L"/" + std::wstring(100000, L'7'), L"/" + std::wstring(5000, L'9')});
    EXPECT_EQ(d.parentWindow, INT32_MAX);
    EXPECT_EQ(d.tabNumber, 999999);
}
