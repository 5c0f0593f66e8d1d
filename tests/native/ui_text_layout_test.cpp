#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/MessageBoxLayout.h"
#include "ui/TextLines.h"

using namespace vorel;
using Lines = std::vector<std::wstring>;

namespace {
// A stand-in for DrawText's measure: ASCII 6 pixels, everything else 12, a tab 500.
int Measure(const std::wstring& s) {
    int w = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const unsigned c = static_cast<unsigned>(s[i]);
        if (c == L'\t')
            w += 500;
        else if (c < 0x80)
            w += 6;
        else if (c >= 0xDC00 && c <= 0xDFFF)
            continue;  // second half of a pair
        else
            w += 12;
    }
    return w;
}
}  // namespace

TEST(TextLines, CarriageReturnsAreDroppedAndLineFeedsBreak) {
    EXPECT_EQ(BreakTextLines(L"ab\r\ncd\r\nef", 100, Measure), (Lines{L"ab", L"cd", L"ef"}));
    EXPECT_EQ(BreakTextLines(L"ab\ncd", 100, Measure), (Lines{L"ab", L"cd"}));
    EXPECT_EQ(BreakTextLines(L"a\rb", 100, Measure), (Lines{L"ab"}));
    // Empty lines are kept; a trailing line feed leaves an empty last line.
    EXPECT_EQ(BreakTextLines(L"a\n\nb\n", 100, Measure), (Lines{L"a", L"", L"b", L""}));
    EXPECT_EQ(BreakTextLines(L"", 100, Measure), (Lines{L""}));
}

TEST(TextLines, LongTextBreaksAtTheOverflowingCharacterEvenInsideAWord) {
    // 30 pixels hold five ASCII characters.
    EXPECT_EQ(BreakTextLines(L"abcdefghijkl", 30, Measure), (Lines{L"abcde", L"fghij", L"kl"}));
    EXPECT_EQ(BreakTextLines(L"hello world", 30, Measure), (Lines{L"hello", L" worl", L"d"}));
    // Exactly filling the width is not "wider".
    EXPECT_EQ(BreakTextLines(L"abcde", 30, Measure), (Lines{L"abcde"}));
    EXPECT_EQ(BreakTextLines(L"热键冲突请重新设置", 40, Measure),
              (Lines{L"热键冲", L"突请重", L"新设置"}));
    EXPECT_EQ(BreakTextLines(L"ab热键", 25, Measure), (Lines{L"ab热", L"键"}));
}

TEST(TextLines, ACharacterWiderThanTheRectangleGetsALineOfItsOwn) {
    EXPECT_EQ(BreakTextLines(L"ab\tcd", 30, Measure), (Lines{L"ab", L"\t", L"cd"}));
    EXPECT_EQ(BreakTextLines(L"\t\t", 30, Measure), (Lines{L"\t", L"\t"}));
    EXPECT_EQ(BreakTextLines(L"汉字", 5, Measure), (Lines{L"汉", L"字"}));
}

TEST(TextLines, ATooWideCharacterAddsNoEmptyLine) {
    // Its line ends with the next character or line feed like any other: no blank line after
    // it, and none at the end, which would make the label one line higher than its text.
    EXPECT_EQ(BreakTextLines(L"汉", 5, Measure), (Lines{L"汉"}));
    EXPECT_EQ(BreakTextLines(L"ab\t\ncd", 30, Measure), (Lines{L"ab", L"\t", L"cd"}));
    EXPECT_EQ(BreakTextLines(L"\t\n", 30, Measure), (Lines{L"\t", L""}));
    EXPECT_EQ(BreakTextLines(L"\t\n\nx", 30, Measure), (Lines{L"\t", L"", L"x"}));
}

TEST(TextLines, SurrogatePairsAreNeverSplit) {
    // U+20BB7 as UTF-16 code units: the same input on 16- and 32-bit wchar_t.
    const std::wstring pair = {wchar_t(0xD842), wchar_t(0xDFB7)};
    EXPECT_EQ(BreakTextLines(L"a" + pair + pair, 20, Measure), (Lines{L"a" + pair, pair}));
    // A carriage return between the halves is dropped, and the halves meet as one character:
    // with ten pixels a unit, "a" and the pair do not fit 20 together.
    const auto tenEach = [](const std::wstring& s) { return int(s.size()) * 10; };
    const std::wstring split = L"a" + pair.substr(0, 1) + L"\r" + pair.substr(1);
    EXPECT_EQ(BreakTextLines(split, 20, tenEach), (Lines{L"a", pair}));
    EXPECT_EQ(BreakTextLines(split + L"\r\n", 30, tenEach), (Lines{L"a" + pair, L""}));
}

TEST(TextLines, HeightOfTheLinesAndGrowth) {
    EXPECT_EQ(TextLinesHeight(2, 12, 3), 27);
    EXPECT_EQ(TextLinesHeight(1, 12, 3), 12);
    EXPECT_EQ(TextLinesHeight(4, 14, 0), 56);
    EXPECT_EQ(TextLinesHeight(0, 12, 3), 12);
}

TEST(TextLines, DrawFormatFollowsTheLabelStyle) {
    EXPECT_EQ(LabelDrawTextFormat(0x0), 0x10u);
    EXPECT_EQ(LabelDrawTextFormat(0x1), 0x15u);       // SS_CENTER
    EXPECT_EQ(LabelDrawTextFormat(0x2), 0x12u);       // SS_RIGHT
    EXPECT_EQ(LabelDrawTextFormat(0x3), 0x15u);       // centre wins over right
    EXPECT_EQ(LabelDrawTextFormat(0x100), 0x10u);     // SS_NOTIFY changes nothing
    EXPECT_EQ(LabelDrawTextFormat(0x4000), 0x8010u);  // SS_ENDELLIPSIS
    EXPECT_EQ(LabelDrawTextFormat(0x8000), 0x4030u);  // SS_PATHELLIPSIS
    EXPECT_EQ(LabelDrawTextFormat(0x201), 0x35u);     // SS_CENTERIMAGE | SS_CENTER
    EXPECT_EQ(std::wstring(kWidthProbeText).size(), 10u);
}

TEST(MessageBoxLayout, ShortTextGivesTheMinimumWidthFromTheButtonStrip) {
    // "缓存清除完毕！" measures about 84 x 14; button frames are 57 x 23.
    const auto g = LayoutMessageBox(kMessageOk, 84, 14, 1, 57, 23);
    EXPECT_EQ(g.width, 174);
    EXPECT_EQ(g.height, 14 + 3 + 90 + 23);
    EXPECT_EQ(g.button1, (IntRect{58, 77, 115, 100}));
    // A text wider than two buttons sets the width itself, keeping 30 pixels on each side.
    EXPECT_EQ(LayoutMessageBox(kMessageOk, 175, 14, 1, 57, 23).width, 235);
    EXPECT_EQ(LayoutMessageBox(kMessageOk, 150, 14, 1, 57, 23).width, 210);
    EXPECT_EQ(LayoutMessageBox(kMessageOk, 114, 14, 1, 57, 23).width, 174);
    EXPECT_EQ(LayoutMessageBox(kMessageOk, 113, 14, 1, 57, 23).width, 174);
}

TEST(MessageBoxLayout, HeightGrowsWithTheLineCountAndPairsAreCentred) {
    const std::wstring text = L"一\n二二\n三";
    EXPECT_EQ(MessageLineCount(text), 3);
    const auto g = LayoutMessageBox(kMessageYesNo, 300, 42, MessageLineCount(text), 57, 23);
    EXPECT_EQ(g.width, 360);
    EXPECT_EQ(g.height, 42 + 9 + 90 + 23);
    EXPECT_EQ(g.button1, (IntRect{113, 111, 170, 134}));
    EXPECT_EQ(g.button2, (IntRect{190, 111, 247, 134}));
    EXPECT_EQ(g.button2.left - g.button1.right, 20);
    // Lines are 3 pixels further apart than their height, the block centred, from y 55.
    EXPECT_EQ(MessageLineRect(0, 360, 300, 42, 3), (IntRect{30, 55, 330, 69}));
    EXPECT_EQ(MessageLineRect(2, 360, 300, 42, 3), (IntRect{30, 89, 330, 103}));
    // A missing button strip gives buttons of no size, not a failure.
    const auto none = LayoutMessageBox(kMessageOkCancel, 50, 14, 1, 0, 0);
    EXPECT_EQ(none.width, 110);
    EXPECT_EQ(none.button1.Width(), 0);
}

TEST(MessageBoxLayout, ButtonSetsAndResults) {
    EXPECT_EQ(MessageBoxButtonTexts(kMessageYesNo).first, L"是");
    EXPECT_EQ(MessageBoxButtonTexts(kMessageYesNo).second, L"否");
    EXPECT_EQ(MessageBoxButtonTexts(kMessageOkCancel).first, L"确定");
    EXPECT_EQ(MessageBoxButtonTexts(kMessageOkCancel).second, L"取消");
    for (int type : {0, 2, 3, 5, -1}) {
        EXPECT_EQ(MessageBoxButtonTexts(type).count, 1) << type;
        EXPECT_EQ(MessageBoxButtonTexts(type).first, L"确定");
        EXPECT_EQ(MessageBoxResultForButton(type, kMessageButton1), kResultOk);
    }
    EXPECT_EQ(MessageBoxResultForButton(kMessageYesNo, kMessageButton1), kResultYes);
    EXPECT_EQ(MessageBoxResultForButton(kMessageYesNo, kMessageButton2), kResultNo);
    EXPECT_EQ(MessageBoxResultForButton(kMessageOkCancel, kMessageButton1), kResultOk);
    EXPECT_EQ(MessageBoxResultForButton(kMessageOkCancel, kMessageButton2), kResultCancel);
}

TEST(MessageBoxLayout, TextIsDrawnLineByLineWithoutATrailingEmptyLine) {
    EXPECT_EQ(MessageTextLines(L"a\nb"), (Lines{L"a", L"b"}));
    EXPECT_EQ(MessageTextLines(L"a\n"), (Lines{L"a"}));
    EXPECT_EQ(MessageTextLines(L"a\n\nb"), (Lines{L"a", L"", L"b"}));
    EXPECT_EQ(MessageTextLines(L"程序退出\r\n或重启"), (Lines{L"程序退出\r", L"或重启"}));
    EXPECT_EQ(MessageTextLines(L""), (Lines{L""}));
    EXPECT_EQ(MessageLineCount(L"a\n"), 2);
    EXPECT_EQ(MessageLineCount(L"程序退出\r\n或重启"), 2);
}
