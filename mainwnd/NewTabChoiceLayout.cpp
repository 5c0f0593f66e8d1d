#include "mainwnd/NewTabChoiceLayout.h"

namespace vorel {

namespace {
// Below the 30-pixel caption band, inside the picture's frame.
constexpr int kQuestionLeft = 15;
constexpr int kQuestionTop = 40;
constexpr int kQuestionRightMargin = 17;
constexpr int kQuestionBottomGap = 11;  // above the buttons
constexpr int kButtonGap = 24;          // between "是" and "否"
constexpr int kButtonBottomMargin = 14;
}  // namespace

NewTabChoiceGeometry LayoutNewTabChoice(int width, int height, int buttonWidth, int buttonHeight) {
    NewTabChoiceGeometry g;
    const int buttonTop = height - kButtonBottomMargin - buttonHeight;
    const int middle = width / 2;
    g.yes = IntRect{middle - kButtonGap / 2 - buttonWidth, buttonTop, middle - kButtonGap / 2,
                    buttonTop + buttonHeight};
    g.no = IntRect{middle + kButtonGap / 2, buttonTop, middle + kButtonGap / 2 + buttonWidth,
                   buttonTop + buttonHeight};
    g.question = IntRect{kQuestionLeft, kQuestionTop, width - kQuestionRightMargin,
                         buttonTop - kQuestionBottomGap};
    return g;
}

}  // namespace vorel
