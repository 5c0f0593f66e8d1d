// Page elements of class "button" as three-frame image buttons: which strip offset shows which
// frame, and whether a release lands on the pressed element.
#pragma once

namespace vorel {

enum class ButtonFrame { Normal = 0, Hover = 1, Pressed = 2 };

// The element's backgroundPositionX for a frame: the strip moves left one element width per
// frame.
long ButtonFrameOffset(ButtonFrame frame, long offsetWidth);

// The element's box from its offsets; right and bottom are outside, as for a window rectangle.
struct ElementBox {
    long left = 0, top = 0, right = 0, bottom = 0;
};
ElementBox BoxFromOffsets(long offsetLeft, long offsetTop, long offsetWidth, long offsetHeight);
bool BoxContains(const ElementBox& box, long x, long y);

// The release point of a mouse message: x the signed low word, y the signed high word.
void PointFromMouseParam(long long lParam, long* x, long* y);

}  // namespace vorel
