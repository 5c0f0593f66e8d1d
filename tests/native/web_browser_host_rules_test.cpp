#include <gtest/gtest.h>

#include "fw/DhtmlMatch.h"
#include "web/ImageButtonRules.h"

using fw::DhtmlBinding;
using fw::DhtmlMatchKind;
using fw::FindDhtmlBinding;
using namespace vorel;

namespace {
constexpr long kDown = -2147418103, kUp = -2147418102, kOver = -2147418104;
const DhtmlBinding kTable[] = {
    {DhtmlMatchKind::Class, L"button", kDown, 1}, {DhtmlMatchKind::Class, L"button", kUp, 2},
    {DhtmlMatchKind::Tag, L"body", kDown, 3},     {DhtmlMatchKind::Tag, L"DIV", kDown, 4},
    {DhtmlMatchKind::Tag, L"div", kUp, 5},
};
int Find(long event, const wchar_t* cls, const wchar_t* tag) {
    return FindDhtmlBinding(kTable, sizeof(kTable) / sizeof(kTable[0]), event, cls, tag);
}
}  // namespace

TEST(DhtmlBindings, ClassNamesMatchWholeAndExactly) {
    EXPECT_EQ(Find(kDown, L"button", L"span"), 0);
    EXPECT_EQ(Find(kUp, L"button", L"span"), 1);
    EXPECT_EQ(Find(kDown, L"Button", L"span"), -1);
    EXPECT_EQ(Find(kDown, L"button big", L"span"), -1);
    EXPECT_EQ(Find(kDown, L"buttons", L"span"), -1);
    EXPECT_EQ(Find(kOver, L"button", L"span"), -1);
}

TEST(DhtmlBindings, TagNamesIgnoreCaseAndTheFirstRowWins) {
    EXPECT_EQ(Find(kDown, L"", L"BODY"), 2);
    EXPECT_EQ(Find(kDown, L"", L"div"), 3);
    EXPECT_EQ(Find(kUp, L"", L"Div"), 4);
    EXPECT_EQ(Find(kDown, L"", L"td"), -1);
    EXPECT_EQ(Find(kDown, L"", L"divx"), -1);
    EXPECT_EQ(Find(kDown, L"", L"di"), -1);
    // A div of class "button" is a button: its row comes first.
    EXPECT_EQ(Find(kDown, L"button", L"DIV"), 0);
    EXPECT_EQ(FindDhtmlBinding(nullptr, 3, kDown, L"button", L"div"), -1);
}

TEST(ImageButtons, FramesShiftTheStripByTheElementWidth) {
    EXPECT_EQ(ButtonFrameOffset(ButtonFrame::Normal, 80), 0);
    EXPECT_EQ(ButtonFrameOffset(ButtonFrame::Hover, 80), -80);
    EXPECT_EQ(ButtonFrameOffset(ButtonFrame::Pressed, 80), -160);
}

TEST(ImageButtons, ReleasePointsAreSignedAndTheBoxExcludesItsFarEdges) {
    ElementBox box = BoxFromOffsets(10, 20, 80, 30);
    EXPECT_TRUE(BoxContains(box, 10, 20));
    EXPECT_TRUE(BoxContains(box, 89, 49));
    EXPECT_FALSE(BoxContains(box, 90, 30));
    EXPECT_FALSE(BoxContains(box, 50, 50));
    EXPECT_FALSE(BoxContains(box, 9, 30));

    long x = 0, y = 0;
    // A release left of and above the dialog: negative words.
    PointFromMouseParam(static_cast<long long>((0xFFF6u << 16) | 0xFFFBu), &x, &y);
    EXPECT_EQ(x, -5);
    EXPECT_EQ(y, -10);
    PointFromMouseParam((25 << 16) | 40, &x, &y);
    EXPECT_EQ(x, 40);
    EXPECT_EQ(y, 25);
    // High bits of a 64-bit lParam are not part of the point.
    PointFromMouseParam(static_cast<long long>(0xFFFFFFFF00000000ull | (7u << 16) | 3u), &x, &y);
    EXPECT_EQ(x, 3);
    EXPECT_EQ(y, 7);
}
