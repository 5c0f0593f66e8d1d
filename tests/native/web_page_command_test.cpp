#include "web/PageCommand.h"

#include <gtest/gtest.h>

using namespace vorel;

namespace {

// What the shell hands the unescaping: the field in the ANSI code page, which for the
// escaped (ASCII) fields of these tests is the same bytes.
std::string Ascii(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out.push_back(static_cast<char>(c));
    return out;
}

// The login step as the dialog runs it on a command URL.
AccountCaption CaptionOf(const std::wstring& url) {
    PageCommand command = ParsePageCommand(url);
    std::wstring field = command.accountField;
    if (NeedsUnescape(field)) field = UnescapeAccountField(Ascii(field));
    return NormaliseAccountField(field);
}

const wchar_t kField[] = L"S3服-《电信一线》龙腾四海-abc";
const wchar_t kEscapedField[] =
    L"S3%E6%9C%8D-%E3%80%8A%E7%94%B5%E4%BF%A1%E4%B8%80%E7%BA%BF%E3%80%8B%E9%BE%99%E8%85%BE%E5%"
    L"9B%9B%E6%B5%B7-abc";

}  // namespace

TEST(PageCommand, LoadGameSplitsAccountFieldAndGameAddress) {
    PageCommand c = ParsePageCommand(std::wstring(L"app://loadgame|") + kField +
                                     L"|http://game.test/play?a=1|b=2");
    EXPECT_EQ(c.kind, PageCommandKind::LoadGame);
    EXPECT_EQ(c.accountField, kField);
    // Everything after the second "|", further bars included.
    EXPECT_EQ(c.gameAddress, L"http://game.test/play?a=1|b=2");
}

TEST(PageCommand, TheExampleLoginSendsElevenCharactersIn24Bytes) {
    AccountCaption c = CaptionOf(std::wstring(L"app://loadgame|") + kField + L"|http://g/");
    EXPECT_EQ(c.text, L"3服-龙腾四海-abc");
    EXPECT_EQ(c.text.size(), 11u);
    EXPECT_EQ(CopyDataBytes(c.text), 24u);
    EXPECT_EQ(c.server, L"3");
    EXPECT_EQ(c.account, L"abc");
}

TEST(PageCommand, PercentEscapedUtf8FieldGivesTheSameText) {
    AccountCaption plain = CaptionOf(std::wstring(L"app://loadgame|") + kField + L"|x");
    AccountCaption escaped = CaptionOf(std::wstring(L"app://loadgame|") + kEscapedField + L"|x");
    EXPECT_EQ(escaped.text, plain.text);
    EXPECT_EQ(UnescapeAccountField(Ascii(kEscapedField)), kField);
}

TEST(PageCommand, ServerNamesWithAndWithoutTheClosingBracket) {
    // Without U+300B the name stays whole.
    EXPECT_EQ(NormaliseAccountField(L"12服-龙腾四海六区-bob").text, L"12服-龙腾四海六区-bob");
    // Fewer than four characters after it: those that there are.
    EXPECT_EQ(NormaliseAccountField(L"7服-《双线》龙腾-bob").text, L"7服-龙腾-bob");
    EXPECT_EQ(NormaliseAccountField(L"7服-《双线》-bob").text, L"7服--bob");
    // Only the first U+300B counts.
    EXPECT_EQ(NormaliseAccountField(L"7服-《a》bc》defg-x").serverName, L"bc》d");
    // Every capital S leaves the server, lower-case s stays.
    EXPECT_EQ(NormaliseAccountField(L"SS1sS服-n-a").server, L"1s");
}

TEST(PageCommand, FieldsWithoutTheMarkOrTheDash) {
    // No "服-": empty server, the name starts at position 1.
    AccountCaption c = NormaliseAccountField(L"abc-def");
    EXPECT_EQ(c.server, L"");
    EXPECT_EQ(c.serverName, L"bc");
    EXPECT_EQ(c.account, L"def");
    // No "-" after the name: empty name, the whole field is the account.
    c = NormaliseAccountField(L"S5服-nodash");
    EXPECT_EQ(c.serverName, L"");
    EXPECT_EQ(c.account, L"S5服-nodash");
    EXPECT_EQ(c.text, L"5服--S5服-nodash");
}

TEST(PageCommand, LoadGameWithoutTheSecondBarSendsTheBareMarks) {
    for (const wchar_t* url :
         {L"app://loadgame|S3服-x-abc", L"app://loadgame|", L"app://loadgame"}) {
        PageCommand c = ParsePageCommand(url);
        EXPECT_EQ(c.kind, PageCommandKind::LoadGame) << url;
        EXPECT_EQ(c.accountField, L"") << url;
        EXPECT_EQ(c.gameAddress, L"") << url;
        EXPECT_EQ(CaptionOf(url).text, L"服--") << url;
    }
    EXPECT_EQ(CopyDataBytes(L"服--"), 8u);
}

TEST(PageCommand, PositionsFourAndFiveAndFourteenAreNotExamined) {
    PageCommand c = ParsePageCommand(L"app:xyloadgame#a-b|addr");
    EXPECT_EQ(c.kind, PageCommandKind::LoadGame);
    EXPECT_EQ(c.accountField, L"a-b");
    EXPECT_EQ(c.gameAddress, L"addr");
    // The field starts at 15 even when the first "|" is elsewhere.
    c = ParsePageCommand(L"app://loadgame||x|y");
    EXPECT_EQ(c.accountField, L"");
    EXPECT_EQ(c.gameAddress, L"x|y");
}

TEST(PageCommand, CommandWordsAreExactAndCaseSensitive) {
    EXPECT_EQ(ParsePageCommand(L"app://exitgame").kind, PageCommandKind::ExitGame);
    EXPECT_EQ(ParsePageCommand(L"app://exitgame/whatever").kind, PageCommandKind::ExitGame);
    EXPECT_EQ(ParsePageCommand(L"app://minimize").kind, PageCommandKind::Minimize);
    EXPECT_EQ(ParsePageCommand(L"app://EXITGAME").kind, PageCommandKind::Unknown);
    EXPECT_EQ(ParsePageCommand(L"app://LoadGame|a|b").kind, PageCommandKind::Unknown);
    EXPECT_EQ(ParsePageCommand(L"app://exitgam").kind, PageCommandKind::Unknown);
    EXPECT_EQ(ParsePageCommand(L"app://reload").kind, PageCommandKind::Unknown);
    EXPECT_EQ(ParsePageCommand(L"app:").kind, PageCommandKind::Unknown);
    // Not the command scheme: left to the browser.
    EXPECT_EQ(ParsePageCommand(L"APP://exitgame").kind, PageCommandKind::NotCommand);
    EXPECT_EQ(ParsePageCommand(L"http://h/app://exitgame").kind, PageCommandKind::NotCommand);
    EXPECT_EQ(ParsePageCommand(L"").kind, PageCommandKind::NotCommand);
}

TEST(PageCommand, CommandSchemeFilter) {
    EXPECT_EQ(FilterCommandScheme(L"app://anything"), SchemeFilter::Cancel);
    EXPECT_EQ(FilterCommandScheme(L"app:"), SchemeFilter::Cancel);
    EXPECT_EQ(FilterCommandScheme(L"APP://exitgame"), SchemeFilter::Leave);
    EXPECT_EQ(FilterCommandScheme(L"App:x"), SchemeFilter::Leave);
    EXPECT_EQ(FilterCommandScheme(L"javascript:void(0)"), SchemeFilter::Allow);
    EXPECT_EQ(FilterCommandScheme(L"javascript"), SchemeFilter::Allow);
    EXPECT_EQ(FilterCommandScheme(L"JavaScript:x"), SchemeFilter::Leave);
    EXPECT_EQ(FilterCommandScheme(L"javascrip"), SchemeFilter::Leave);
    EXPECT_EQ(FilterCommandScheme(L"http://localhost/wd/index.php"), SchemeFilter::Leave);
    EXPECT_EQ(FilterCommandScheme(L""), SchemeFilter::Leave);
}

TEST(PageCommand, UnescapingKeepsWhatIsNotAnEscape) {
    EXPECT_FALSE(NeedsUnescape(L""));
    EXPECT_FALSE(NeedsUnescape(L"S1服-a-b"));
    EXPECT_TRUE(NeedsUnescape(L"%"));
    EXPECT_EQ(UnescapeAccountField("100%"), L"100%");
    EXPECT_EQ(UnescapeAccountField("%zz%4"), L"%zz%4");
    EXPECT_EQ(UnescapeAccountField("a%2Db%2dc+d"), L"a-b-c+d");
    // Bytes that are not UTF-8 become replacement characters, one each.
    EXPECT_EQ(UnescapeAccountField("x%FFy%C0%AFz"), L"x\xFFFDy\xFFFD\xFFFDz");
    // A surrogate's encoding is not a character.
    EXPECT_EQ(UnescapeAccountField("%ED%A0%80"), L"\xFFFD\xFFFD\xFFFD");
    // A sequence broken off inside the page's own text shows as one replacement.
    EXPECT_EQ(UnescapeAccountField("%E6%9Cz"), L"\xFFFDz");
}

TEST(PageCommand, CharactersOutsideTheBasicPlaneCountAsTwoUnits) {
    // U+1F600 as UTF-8: two UTF-16 units in both builds, so cbData agrees with Windows.
    std::wstring text = UnescapeAccountField("%F0%9F%98%80");
    ASSERT_EQ(text.size(), 2u);
    EXPECT_EQ(static_cast<unsigned>(text[0]), 0xD83Du);
    EXPECT_EQ(static_cast<unsigned>(text[1]), 0xDE00u);
    EXPECT_EQ(CopyDataBytes(text), 6u);
}

TEST(PageCommand, OverlongAccountFieldsAreCutAtAWholeCharacter) {
    std::string many;
    for (int i = 0; i < 86; ++i) many += "%E6%9C%8D";  // 774 bytes
    // 28 whole escapes fill 252 bytes; the 29th starts "%E6" inside the limit, and its
    // character, split by the cut, is dropped.
    EXPECT_EQ(UnescapeAccountField(many), std::wstring(28, L'服'));
    // One byte more in front: the cut would split "%E" off; it is moved before the escape.
    EXPECT_EQ(UnescapeAccountField("a" + many), L"a" + std::wstring(28, L'服'));
    EXPECT_EQ(UnescapeAccountField("ab" + many), L"ab" + std::wstring(28, L'服'));
    // Plain text is cut at exactly 255 bytes.
    EXPECT_EQ(UnescapeAccountField(std::string(300, 'q') + "%41"), std::wstring(255, L'q'));
    // A field of exactly 255 bytes is whole.
    EXPECT_EQ(UnescapeAccountField(std::string(252, 'q') + "%41"), std::wstring(252, L'q') + L"A");
}

TEST(PageCommand, RefusalNamesTheAccountAndTheServer) {
    AccountCaption c = NormaliseAccountField(L"S3服-《电信一线》龙腾四海-abc");
    EXPECT_EQ(RefusalMessage(c), L"账号 abc 已在 3服 登录，同一账号不能在一服重复登录");
}

TEST(PageCommand, MinimizeEndsAnExtraTabsLoginAndOtherwiseMinimisesAWindow) {
    EXPECT_EQ(DecideMinimize(2, true), MinimizeAction::EndLogin);
    EXPECT_EQ(DecideMinimize(1, false), MinimizeAction::EndLogin);
    EXPECT_EQ(DecideMinimize(0, true), MinimizeAction::MinimizeLoginWindow);
    EXPECT_EQ(DecideMinimize(0, false), MinimizeAction::MinimizeMainWindow);
    EXPECT_EQ(DecideMinimize(-1, false), MinimizeAction::MinimizeMainWindow);
}
