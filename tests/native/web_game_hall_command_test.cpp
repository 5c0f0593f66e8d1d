#include "web/GameHallCommand.h"

#include <gtest/gtest.h>

#include "web/FileNameRules.h"

using namespace vorel;

namespace {
const std::wstring kHome = L"http://hall.test/";
}

TEST(EnterGame, LowerCaseNameBecomesACapitalisedClientAndTheSiteFollowsTheNextBar) {
    EnterGameCommand c = ParseEnterGame(L"app://entergame|fennik|http://fennik.test/dl", kHome);
    EXPECT_TRUE(c.isCommand);
    EXPECT_FALSE(c.refused);
    EXPECT_EQ(c.exeStem, L"Fennik");
    EXPECT_EQ(c.siteAddress, L"http://fennik.test/dl");
    // Everything after the first bar is the site address, further bars included.
    c = ParseEnterGame(L"app://entergame|fennik|https://f.test/a|b", kHome);
    EXPECT_EQ(c.siteAddress, L"https://f.test/a|b");
}

TEST(EnterGame, SlashesAreRemovedFromTheName) {
    EnterGameCommand c = ParseEnterGame(L"app://entergame|fen/nik/", kHome);
    EXPECT_FALSE(c.refused);
    EXPECT_EQ(c.exeStem, L"Fennik");
    // A page's trailing slash after the command does not change the client.
    EXPECT_EQ(ParseEnterGame(L"app://entergame|/tolv/|http://t.test/", kHome).exeStem, L"Tolv");
}

TEST(EnterGame, WithoutASiteTheHallHomePageIsOpened) {
    EXPECT_EQ(ParseEnterGame(L"app://entergame|fennik", kHome).siteAddress, kHome);
    EXPECT_EQ(ParseEnterGame(L"app://entergame|fennik|", kHome).siteAddress, kHome);
}

TEST(EnterGame, OnlyWebAddressesAreOpened) {
    for (const wchar_t* site : {L"file:///C:/Windows/system32/calc.exe",
                                L"C:\\Windows\\notepad.exe", L"\\\\server\\share\\x.exe",
                                L"javascript:alert(1)", L"http://", L"mailto:x@y", L"ftp://x/"}) {
        EnterGameCommand c = ParseEnterGame(std::wstring(L"app://entergame|fennik|") + site, kHome);
        EXPECT_FALSE(c.refused) << site;
        EXPECT_EQ(c.siteAddress, kHome) << site;
    }
    EXPECT_EQ(ParseEnterGame(L"app://entergame|fennik|HTTP://F.TEST/", kHome).siteAddress,
              L"HTTP://F.TEST/");
}

TEST(EnterGame, NamesThatAreNotPlainFileStemsAreRefused) {
    for (const wchar_t* name : {L"", L"..\\..\\windows\\system32\\cmd", L"..", L"a..b", L"c:evil",
                                L"x\\y", L"a*", L"a?b", L"a\"b", L"a<b", L"a>b", L"name.", L"name ",
                                L"con", L"nul.txt", L"com1", L"lpt9", L"a\tb"}) {
        EnterGameCommand c =
            ParseEnterGame(std::wstring(L"app://entergame|") + name + L"|http://x/", kHome);
        EXPECT_TRUE(c.isCommand) << name;
        EXPECT_TRUE(c.refused) << name;
        EXPECT_EQ(c.exeStem, L"") << name;
        EXPECT_EQ(c.siteAddress, L"") << name;
    }
    // "/" is removed before the check, so "../" leaves ".." behind and is still refused.
    EXPECT_TRUE(ParseEnterGame(L"app://entergame|../../x", kHome).refused);
    // Nothing at all after the prefix.
    EXPECT_TRUE(ParseEnterGame(L"app://entergame|", kHome).refused);
}

TEST(EnterGame, TheFirstCharacterIsAlwaysReducedBy32) {
    // A capital is not a lower-case letter: "A" becomes "!", which is a file-name character.
    EXPECT_EQ(ParseEnterGame(L"app://entergame|Abc", kHome).exeStem, L"!bc");
    // "Z" becomes ":" and a digit a control character: both refused.
    EXPECT_TRUE(ParseEnterGame(L"app://entergame|Zed", kHome).refused);
    EXPECT_TRUE(ParseEnterGame(L"app://entergame|9lives", kHome).refused);
    // A first character below 32 would wrap: refused on every platform alike.
    EXPECT_TRUE(ParseEnterGame(std::wstring(L"app://entergame|") + L'\x1F' + L"x", kHome).refused);
}

TEST(EnterGame, OtherAddressesAreLeftAlone) {
    EXPECT_FALSE(ParseEnterGame(L"http://hall.test/webgame.htm", kHome).isCommand);
    EXPECT_FALSE(ParseEnterGame(L"APP://ENTERGAME|fennik", kHome).isCommand);
    EXPECT_FALSE(ParseEnterGame(L"app://entergame", kHome).isCommand);
    // "Contains" is enough; the name is still read from position 16 of the whole address,
    // so only a plain name inside the product folder can come of it.
    EnterGameCommand c = ParseEnterGame(L"http://x/?app://entergame|abc", kHome);
    EXPECT_TRUE(c.isCommand);
    EXPECT_FALSE(c.refused);
    EXPECT_EQ(c.exeStem, L"Entergame");
    EXPECT_EQ(c.siteAddress, kHome);
    EXPECT_TRUE(ParseEnterGame(L"http://h.test/p?app://entergame|x", kHome).refused);
}

TEST(FileNameRules, PlainStemsAndJoinedPaths) {
    EXPECT_TRUE(IsPlainFileStem(L"Fennik"));
    EXPECT_TRUE(IsPlainFileStem(L"龙腾四海 - 游戏"));
    EXPECT_TRUE(IsPlainFileStem(L"a.b"));
    EXPECT_TRUE(IsPlainFileStem(L"console"));
    EXPECT_TRUE(IsPlainFileStem(L"com10"));
    EXPECT_FALSE(IsPlainFileStem(L"CON .x"));
    EXPECT_FALSE(IsPlainFileStem(L"Aux"));
    EXPECT_FALSE(IsPlainFileStem(L"a|b"));
    EXPECT_FALSE(IsPlainFileStem(L"a/b"));

    EXPECT_EQ(JoinFilePath(L"C:\\P", L"Fennik", L".exe"), L"C:\\P\\Fennik.exe");
    // 259 characters fit (MAX_PATH with its NUL); one more is refused, not cut.
    const std::wstring folder = L"C:\\" + std::wstring(247, L'f');
    EXPECT_EQ(JoinFilePath(folder, L"abcd", L".exe").size(), 259u);
    EXPECT_EQ(JoinFilePath(folder, L"abcde", L".exe"), L"");
}
