// The popup notice's three layouts: which skin, where each control goes and what it shows.
// Platform-free.
#pragma once
#include <string>

#include "ui/SkinGeometry.h"

namespace vorel {

enum class NoticeLayout {
    PictureAndText,
    TextOnly,     // no picture (whatever the text)
    PictureOnly,  // a picture and no text
};

NoticeLayout ChooseNoticeLayout(const std::wstring& picture, const std::wstring& text);

// The text line: its first 54 characters beside a picture, 71 without, then "..." (always,
// also after a short text).
std::wstring NoticeDisplayText(const std::wstring& text, NoticeLayout layout);

struct NoticeControlPlace {
    bool visible = false;
    IntRect rect;  // client pixels; only meaningful when visible
};

struct NoticeGeometry {
    // The skin: background and close strip ids, and the dialog's caption numbers.
    unsigned backgroundId = 0;
    unsigned closeId = 0;
    int captionHeight = 0;
    int buttonRightMargin = 0;
    int buttonTopMargin = 0;
    int buttonGap = 0;
    int borderWidth = 0;
    // Magenta becomes transparent through a layered window.
    bool layeredColourKey = false;

    NoticeControlPlace picture;  // 1019
    NoticeControlPlace title;    // 1020
    NoticeControlPlace content;  // 1021: the text, or the picture in the picture-only layout
    NoticeControlPlace details;  // 1022
    bool pictureInContent = false;
};

// The skin part is known before the window has its size; the rectangles need the client
// size (width x height), which is the background image's.
NoticeGeometry LayoutNotice(NoticeLayout layout, int width, int height);

// The controls' character height in pixels, whatever the DPI: the skins do not scale.
constexpr int kNoticeFontHeight = -12;

}  // namespace vorel
