// The new-tab choice in pixels of its picture: the question over the picture's text area and
// the "是" and "否" buttons a strip frame each, side by side about the middle near the bottom.
// Platform-free.
#pragma once
#include "ui/SkinGeometry.h"

namespace vorel {

struct NewTabChoiceGeometry {
    IntRect question;
    IntRect yes;
    IntRect no;
};

// width x height: the picture (and window) size; buttonWidth x buttonHeight: one strip frame.
NewTabChoiceGeometry LayoutNewTabChoice(int width, int height, int buttonWidth, int buttonHeight);

// The question's and the buttons' character height in pixels, whatever the DPI.
constexpr int kNewTabChoiceFontHeight = -11;

}  // namespace vorel
