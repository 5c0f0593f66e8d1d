#include "web/NoticeRecord.h"

#include <gtest/gtest.h>

using namespace vorel;

namespace {

const NoticeDate kToday{2025, 6, 15};

std::wstring Record(const std::wstring& id, const std::wstring& lastDay,
                    const std::wstring& title = L"T", const std::wstring& link = L"",
                    const std::wstring& text = L"x", const std::wstring& picture = L"",
                    const std::wstring& showings = L"1") {
    return id + L"|" + lastDay + L"|" + title + L"|" + link + L"|" + text + L"|" + picture + L"|" +
           showings;
}

}  // namespace

TEST(NoticeRecord, SplitsTheSevenFieldsAndTakesEverythingAfterTheSixthBarAsTheCount) {
    NoticeRecord r;
    ASSERT_TRUE(ParseNoticeRecord(
        L"N7|2025-06-30|新服开启|http://vorel.test/news|双倍经验|http://vorel.test/p.jpg|3", &r));
    EXPECT_EQ(r.id, L"N7");
    EXPECT_EQ(r.lastDay, L"2025-06-30");
    EXPECT_EQ(r.title, L"新服开启");
    EXPECT_EQ(r.link, L"http://vorel.test/news");
    EXPECT_EQ(r.text, L"双倍经验");
    EXPECT_EQ(r.picture, L"http://vorel.test/p.jpg");
    EXPECT_EQ(r.showings, 3);

    // The count is read as a number: a file's line end, blanks and further bars do not matter.
    ASSERT_TRUE(ParseNoticeRecord(L"a|b|c|d|e|f| 2\r\n", &r));
    EXPECT_EQ(r.showings, 2);
    ASSERT_TRUE(ParseNoticeRecord(L"a|b|c|d|e|f|4|9", &r));
    EXPECT_EQ(r.showings, 4);
    ASSERT_TRUE(ParseNoticeRecord(L"||||||", &r));
    EXPECT_EQ(r.title, L"");
    EXPECT_EQ(r.showings, 0);
}

TEST(NoticeRecord, AMissingSeparatorMakesItUnusable) {
    NoticeRecord r;
    EXPECT_FALSE(ParseNoticeRecord(L"a|b|c|d|e|f", &r));
    EXPECT_FALSE(ParseNoticeRecord(L"a|b|c", &r));
    EXPECT_FALSE(ParseNoticeRecord(L"", &r));
    // Bars after an embedded terminator are not in the text any more.
    EXPECT_FALSE(ParseNoticeRecord(std::wstring(L"a|b|c|d\0|e|f|1", 14), &r));
}

TEST(NoticeRecord, LongFieldsKeepWhatFitsButLongAddressesCountAsEmpty) {
    const std::wstring id(40, L'i'), title(80, L'题'), text(600, L't');
    const std::wstring longLink = L"http://vorel.test/" + std::wstring(494, L'a');  // 512
    const std::wstring fitLink = L"http://vorel.test/" + std::wstring(493, L'a');   // 511
    NoticeRecord r;
    ASSERT_TRUE(ParseNoticeRecord(Record(id, L"2025-06-30", title, longLink, text, fitLink), &r));
    EXPECT_EQ(r.id, std::wstring(31, L'i'));
    EXPECT_EQ(r.title, std::wstring(63, L'题'));
    EXPECT_EQ(r.text, std::wstring(511, L't'));
    EXPECT_EQ(r.link, L"") << "a cut link would open another page";
    EXPECT_EQ(r.picture, fitLink);
    ASSERT_TRUE(ParseNoticeRecord(Record(L"n", L"2025-06-30", L"t", fitLink, L"x", longLink), &r));
    EXPECT_EQ(r.link, fitLink);
    EXPECT_EQ(r.picture, L"");
}

TEST(NoticeRecord, CutsNeverSplitASurrogatePair) {
    const std::wstring pair = L"\xD83D\xDE00";  // one character, two UTF-16 units
    EXPECT_EQ(CutNoticeText(L"ab" + pair, 3), L"ab");
    EXPECT_EQ(CutNoticeText(L"ab" + pair, 4), L"ab" + pair);
    EXPECT_EQ(CutNoticeText(L"abc", 5), L"abc");
    EXPECT_EQ(CutNoticeText(L"abc", 0), L"");
}

TEST(NoticeDate, TheLastDayItselfIsStillShownTheDayAfterIsNot) {
    EXPECT_FALSE(IsNoticeExpired(L"2025-06-15", kToday));
    EXPECT_TRUE(IsNoticeExpired(L"2025-06-14", kToday));
    EXPECT_FALSE(IsNoticeExpired(L"2025-06-16", kToday));
    // Year before month before day, as numbers rather than as text.
    EXPECT_TRUE(IsNoticeExpired(L"2025-5-31", kToday));
    EXPECT_FALSE(IsNoticeExpired(L"2025-7-1", kToday));
    EXPECT_FALSE(IsNoticeExpired(L"2025-6-15", kToday));
    EXPECT_TRUE(IsNoticeExpired(L"2024-12-31", kToday));
    EXPECT_FALSE(IsNoticeExpired(L"2026-01-01", kToday));
    EXPECT_TRUE(IsNoticeExpired(L"2025-06-09", NoticeDate{2025, 6, 10}));
    EXPECT_FALSE(IsNoticeExpired(L"2025-06-10", NoticeDate{2025, 6, 10}));
}

TEST(NoticeDate, TimeAfterABlankIsIgnoredAndIncompleteDatesAreEarly) {
    EXPECT_FALSE(IsNoticeExpired(L"2025-06-15 00:00", kToday));
    EXPECT_TRUE(IsNoticeExpired(L"2025-06-14 23:59", kToday));
    // Without "-": earlier than any date.
    EXPECT_TRUE(IsNoticeExpired(L"20991231", kToday));
    EXPECT_TRUE(IsNoticeExpired(L"", kToday));
    // Without a second "-": earlier than any date of its own year, compared by year otherwise.
    EXPECT_TRUE(IsNoticeExpired(L"2025-12", kToday));
    EXPECT_FALSE(IsNoticeExpired(L"2026-01", kToday));
    EXPECT_TRUE(IsNoticeExpired(L"2024-12", kToday));
    // The blank cuts before the dashes are looked for.
    EXPECT_TRUE(IsNoticeExpired(L"2099 -12-31", kToday));
    // Parts that are not numbers count as 0.
    EXPECT_TRUE(IsNoticeExpired(L"year-06-20", kToday));
    EXPECT_FALSE(IsNoticeExpired(L"2025-06-20xyz", kToday));
}

TEST(NoticeDecision, TheSameNoticeStaysClosedOnlyWhilePopEnableIsZero) {
    const std::wstring notice = Record(L"N1", L"2025-06-30");
    NoticeRecord r;
    EXPECT_EQ(DecideNotice(notice, notice, L"0", kToday, &r), NoticeVerdict::ClosedBefore);
    EXPECT_EQ(DecideNotice(notice, notice, L"1", kToday, &r), NoticeVerdict::Show);
    EXPECT_EQ(r.id, L"N1");
    // Never stored, or stored without "PopEnable": may be shown.
    EXPECT_EQ(DecideNotice(notice, notice, L"", kToday, &r), NoticeVerdict::Show);
    EXPECT_EQ(DecideNotice(notice, L"", L"0", kToday, &r), NoticeVerdict::Show);
    // The stored text read back without the file's line end is still the same notice.
    EXPECT_EQ(DecideNotice(notice + L"\r\n", notice, L"0", kToday, &r),
              NoticeVerdict::ClosedBefore);
}

TEST(NoticeDecision, AChangedNoticeIsShownAfterThePreviousWasClosed) {
    NoticeRecord r;
    EXPECT_EQ(
        DecideNotice(Record(L"N2", L"2025-06-30"), Record(L"N1", L"2025-06-30"), L"0", kToday, &r),
        NoticeVerdict::Show);
    EXPECT_EQ(r.id, L"N2");
}

TEST(NoticeDecision, StepsComeInTheirOrder) {
    NoticeRecord r;
    r.id = L"untouched";
    EXPECT_EQ(DecideNotice(L"", L"", L"", kToday, &r), NoticeVerdict::NoText);
    // A closed notice is not looked at any further, well formed or not.
    EXPECT_EQ(DecideNotice(L"broken", L"broken", L"0", kToday, &r), NoticeVerdict::ClosedBefore);
    EXPECT_EQ(DecideNotice(L"broken", L"", L"", kToday, &r), NoticeVerdict::Malformed);
    EXPECT_EQ(DecideNotice(Record(L"N3", L"2025-06-14"), L"", L"", kToday, &r),
              NoticeVerdict::Expired);
    EXPECT_EQ(r.id, L"untouched") << "the record is filled only for a notice to show";
}

TEST(NoticeLink, OnlyWebAddressesAreOpened) {
    EXPECT_TRUE(IsOpenableNoticeLink(L"http://vorel.test/news?id=7"));
    EXPECT_TRUE(IsOpenableNoticeLink(L"HTTPS://vorel.test/活动"));
    for (const wchar_t* link :
         {L"", L"C:\\Windows\\system32\\calc.exe", L"calc.exe", L"file:///C:/Windows/notepad.exe",
          L"\\\\server\\share\\run.exe", L"javascript:alert(1)", L"mailto:a@vorel.test",
          L"ftp://vorel.test/", L"http://", L"https://", L" http://vorel.test/",
          L"http://vorel.test/a b", L"http://vorel.test/\" -new-window file:///c:/",
          L"http://vorel.test/\tx", L"http://vorel.test/\r\n"}) {
        EXPECT_FALSE(IsOpenableNoticeLink(link)) << link;
    }
}
