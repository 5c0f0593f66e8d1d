#include "web/FavoriteShortcut.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vorel;

namespace {
std::vector<std::wstring> Lines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    size_t start = 0;
    for (size_t end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    // Whatever follows the last CRLF; empty when the text ends with one.
    lines.push_back(text.substr(start));
    return lines;
}
}  // namespace

TEST(FavoriteShortcut, SevenCrlfLinesWithTheAddressTwice) {
    const std::wstring a = L"http://localhost:18461/game/play.htm?s=3";
    const std::wstring text = ShortcutText(a);
    std::vector<std::wstring> lines = Lines(text);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0], L"[DEFAULT]");
    EXPECT_EQ(lines[1], L"BASEURL=" + a);
    EXPECT_EQ(lines[2], L"[{000214A0-0000-0000-C000-000000000046}]");
    EXPECT_EQ(lines[3], L"=19,2");
    EXPECT_EQ(lines[4], L"[InternetShortcut]");
    EXPECT_EQ(lines[5], L"URL=" + a);
    EXPECT_EQ(lines[6], L"IDList=");
    EXPECT_EQ(lines[7], L"");  // the text ends with CR LF
    // No bare CR or LF anywhere else.
    size_t crs = 0, lfs = 0;
    for (wchar_t c : text) {
        crs += c == L'\r';
        lfs += c == L'\n';
    }
    EXPECT_EQ(crs, 7u);
    EXPECT_EQ(lfs, 7u);
}

TEST(FavoriteShortcut, A203CharacterAddressFillsExactly511Characters) {
    EXPECT_EQ(MaxShortcutAddressLength(), 203u);
    const std::wstring address = L"http://g.test/" + std::wstring(203 - 14, L'x');
    ASSERT_EQ(address.size(), 203u);
    EXPECT_EQ(ShortcutText(address).size(), 511u);
    EXPECT_EQ(CheckFavorite(L"game", address), FavoriteCheck::Ok);
    // One more character would be cut off the end of the file: refused, with a message.
    EXPECT_EQ(CheckFavorite(L"game", address + L"y"), FavoriteCheck::AddressTooLong);
    EXPECT_NE(FavoriteRefusalText(FavoriteCheck::AddressTooLong), nullptr);
}

TEST(FavoriteShortcut, NamesOf127CharactersAreWholeLongerOnesCut) {
    const std::wstring name127(127, L'n');
    EXPECT_EQ(FavoriteNameFromEdit(name127), name127);
    EXPECT_EQ(FavoriteNameFromEdit(name127 + L"tail"), name127);
    EXPECT_EQ(FavoriteNameFromEdit(L""), L"");
    EXPECT_EQ(CheckFavorite(name127, L"http://x/"), FavoriteCheck::Ok);
}

TEST(FavoriteShortcut, NamesThatCannotBeAFileNameAreRefusedWithAMessage) {
    for (const wchar_t* name :
         {L"..\\..\\Startup\\run", L"C:\\x", L"a/b", L"x:y", L"what?", L"a*b", L"<tag>",
          L"say \"hi\"", L"a|b", L"..", L"dot.", L"CON", L"nul.url", L"tab\there"}) {
        EXPECT_EQ(CheckFavorite(name, L"http://x/"), FavoriteCheck::BadName) << name;
    }
    EXPECT_EQ(CheckFavorite(L"", L"http://x/"), FavoriteCheck::EmptyName);
    EXPECT_EQ(CheckFavorite(L"龙腾四海 - 3服", L"http://x/"), FavoriteCheck::Ok);
    EXPECT_EQ(FavoriteRefusalText(FavoriteCheck::Ok), nullptr);
    for (FavoriteCheck check :
         {FavoriteCheck::EmptyName, FavoriteCheck::BadName, FavoriteCheck::AddressTooLong}) {
        ASSERT_NE(FavoriteRefusalText(check), nullptr);
        EXPECT_GT(std::wstring(FavoriteRefusalText(check)).size(), 4u);
    }
    // The name is judged before the address.
    EXPECT_EQ(CheckFavorite(L"a/b", std::wstring(400, L'x')), FavoriteCheck::BadName);
}

TEST(FavoriteShortcut, AddressesWithLineBreaksOrNulAreRefused) {
    // A line break would give the shortcut keys of the page's choosing, a NUL would end the
    // address for a reader of the file.
    const std::wstring injected = L"http://a.test/\r\nURL=file:///c:/x.exe";
    EXPECT_EQ(CheckFavorite(L"game", injected), FavoriteCheck::BadAddress);
    EXPECT_EQ(CheckFavorite(L"game", L"http://a.test/\nIconFile=x"), FavoriteCheck::BadAddress);
    EXPECT_EQ(CheckFavorite(L"game", L"http://a.test/\rx"), FavoriteCheck::BadAddress);
    EXPECT_EQ(CheckFavorite(L"game", std::wstring(L"http://a.test/\0x", 16)),
              FavoriteCheck::BadAddress);
    EXPECT_EQ(CheckFavorite(L"game", L"http://a.test/\tx"), FavoriteCheck::BadAddress);
    EXPECT_EQ(CheckFavorite(L"game", L"http://a.test/\x7F"), FavoriteCheck::BadAddress);
    ASSERT_NE(FavoriteRefusalText(FavoriteCheck::BadAddress), nullptr);
    // Blanks, non-ASCII text and escapes are an address's own.
    EXPECT_EQ(CheckFavorite(L"game", L"http://a.test/青龙 3服?q=%0D%0A"), FavoriteCheck::Ok);
    // Told before the length: a shorter page address would not help.
    EXPECT_EQ(CheckFavorite(L"game", std::wstring(300, L'\n')), FavoriteCheck::BadAddress);
}
