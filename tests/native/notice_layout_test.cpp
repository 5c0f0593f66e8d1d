#include "web/NoticeLayout.h"

#include <gtest/gtest.h>

#include "res/resource.h"

using namespace vorel;

namespace {

IntRect R(int left, int top, int right, int bottom) { return IntRect{left, top, right, bottom}; }

}  // namespace

TEST(NoticeLayout, PictureAndTextDecideTheLayout) {
    EXPECT_EQ(ChooseNoticeLayout(L"http://p", L"text"), NoticeLayout::PictureAndText);
    EXPECT_EQ(ChooseNoticeLayout(L"", L"text"), NoticeLayout::TextOnly);
    EXPECT_EQ(ChooseNoticeLayout(L"http://p", L""), NoticeLayout::PictureOnly);
    EXPECT_EQ(ChooseNoticeLayout(L"", L""), NoticeLayout::TextOnly);
}

TEST(NoticeLayout, TextIsCutTo71Or54CharactersAndAlwaysGetsDots) {
    const std::wstring eighty(80, L'字');
    EXPECT_EQ(NoticeDisplayText(eighty, NoticeLayout::TextOnly), std::wstring(71, L'字') + L"...");
    EXPECT_EQ(NoticeDisplayText(eighty, NoticeLayout::PictureAndText),
              std::wstring(54, L'字') + L"...");
    EXPECT_EQ(NoticeDisplayText(L"短", NoticeLayout::TextOnly), L"短...");
    EXPECT_EQ(NoticeDisplayText(L"", NoticeLayout::PictureAndText), L"...");
    EXPECT_EQ(NoticeDisplayText(std::wstring(71, L'a'), NoticeLayout::TextOnly),
              std::wstring(71, L'a') + L"...");
}

TEST(NoticeLayout, PictureAndTextPlacesEveryControlOnItsSkin) {
    const NoticeGeometry g = LayoutNotice(NoticeLayout::PictureAndText, 250, 191);
    EXPECT_EQ(g.backgroundId, unsigned(IDP_NOTICE_PICTURE_TEXT));
    EXPECT_EQ(g.closeId, unsigned(IDP_NOTICE_CLOSE_SMALL));
    EXPECT_EQ(g.captionHeight, 0);
    EXPECT_EQ(g.buttonRightMargin, 3);
    EXPECT_EQ(g.buttonTopMargin, 3);
    EXPECT_EQ(g.borderWidth, 3);
    EXPECT_FALSE(g.layeredColourKey);
    EXPECT_FALSE(g.pictureInContent);
    ASSERT_TRUE(g.picture.visible && g.title.visible && g.content.visible && g.details.visible);
    EXPECT_EQ(g.picture.rect, R(15, 67, 90, 147));
    EXPECT_EQ(g.title.rect, R(100, 48, 230, 63));
    EXPECT_EQ(g.content.rect, R(100, 68, 234, 81));
    EXPECT_EQ(g.details.rect, R(195, 168, 237, 181));
}

TEST(NoticeLayout, TextOnlyHidesThePictureControl) {
    const NoticeGeometry g = LayoutNotice(NoticeLayout::TextOnly, 250, 167);
    EXPECT_EQ(g.backgroundId, unsigned(IDP_NOTICE_TEXT));
    EXPECT_EQ(g.closeId, unsigned(IDP_NOTICE_CLOSE_SMALL));
    EXPECT_EQ(g.buttonRightMargin, 3);
    EXPECT_EQ(g.borderWidth, 3);
    EXPECT_FALSE(g.picture.visible);
    EXPECT_EQ(g.title.rect, R(0, 45, 250, 60));
    EXPECT_EQ(g.content.rect, R(18, 65, 234, 78));
    EXPECT_EQ(g.details.rect, R(195, 145, 237, 158));
}

TEST(NoticeLayout, PictureOnlyFillsTheWindowBelowTheBandAndKeysMagentaOut) {
    const NoticeGeometry g = LayoutNotice(NoticeLayout::PictureOnly, 160, 212);
    EXPECT_EQ(g.backgroundId, unsigned(IDP_NOTICE_PICTURE));
    EXPECT_EQ(g.closeId, unsigned(IDP_NOTICE_CLOSE_LARGE));
    EXPECT_EQ(g.buttonRightMargin, 0);
    EXPECT_EQ(g.buttonTopMargin, 1);
    EXPECT_EQ(g.borderWidth, 0);
    EXPECT_TRUE(g.layeredColourKey);
    EXPECT_TRUE(g.pictureInContent);
    EXPECT_FALSE(g.picture.visible || g.title.visible || g.details.visible);
    // (W + 3) x (H - 22) from (-3, 22): the picture, drawn 3 pixels in, starts at the edge.
    EXPECT_EQ(g.content.rect, R(-3, 22, 160, 212));
}
