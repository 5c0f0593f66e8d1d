#include "web/NoticeLayout.h"

#include "res/resource.h"
#include "web/NoticeRecord.h"

namespace vorel {

namespace {

constexpr size_t kTextBesidePicture = 54;
constexpr size_t kTextAlone = 71;

NoticeControlPlace At(int left, int top, int right, int bottom) {
    NoticeControlPlace place;
    place.visible = true;
    place.rect = IntRect{left, top, right, bottom};
    return place;
}

}  // namespace

NoticeLayout ChooseNoticeLayout(const std::wstring& picture, const std::wstring& text) {
    if (picture.empty()) return NoticeLayout::TextOnly;
    return text.empty() ? NoticeLayout::PictureOnly : NoticeLayout::PictureAndText;
}

std::wstring NoticeDisplayText(const std::wstring& text, NoticeLayout layout) {
    const size_t keep = layout == NoticeLayout::TextOnly ? kTextAlone : kTextBesidePicture;
    return CutNoticeText(text, keep) + L"...";
}

NoticeGeometry LayoutNotice(NoticeLayout layout, int width, int height) {
    NoticeGeometry g;
    const int W = width, H = height;
    // The controls a layout does not use are hidden rather than left with their template
    // texts ("Pic", "Title", "详细>>") over the skin.
    switch (layout) {
        case NoticeLayout::PictureAndText:
            g.backgroundId = IDP_NOTICE_PICTURE_TEXT;
            g.closeId = IDP_NOTICE_CLOSE_SMALL;
            g.buttonRightMargin = 3;
            g.buttonTopMargin = 3;
            g.borderWidth = 3;
            g.picture = At(15, 67, 15 + 75, 67 + 80);
            g.title = At(100, 48, W - 20, 63);
            g.content = At(100, 68, W - 16, 81);
            g.details = At(195, 168, 195 + 42, 168 + 13);
            break;
        case NoticeLayout::TextOnly:
            g.backgroundId = IDP_NOTICE_TEXT;
            g.closeId = IDP_NOTICE_CLOSE_SMALL;
            g.buttonRightMargin = 3;
            g.buttonTopMargin = 3;
            g.borderWidth = 3;
            g.title = At(0, 45, W, 60);
            g.content = At(18, 65, W - 16, 78);
            g.details = At(195, 145, 195 + 42, 145 + 13);
            break;
        case NoticeLayout::PictureOnly:
            g.backgroundId = IDP_NOTICE_PICTURE;
            g.closeId = IDP_NOTICE_CLOSE_LARGE;
            g.buttonTopMargin = 1;
            g.layeredColourKey = true;
            // Three pixels left of the window: the image is drawn 3 pixels into its control.
            g.content = At(-3, 22, -3 + W + 3, 22 + H - 22);
            g.pictureInContent = true;
            break;
    }
    return g;
}

}  // namespace vorel
