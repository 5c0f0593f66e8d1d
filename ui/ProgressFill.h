// The image progress bar's geometry: where the fill sits in the background, and which columns
// of the fill image show at a position. Platform-free.
#pragma once
#include "ui/SkinGeometry.h"

namespace vorel {

// The fill image's rectangle, centred in a background of bgW x bgH at (0, 0).
IntRect CentredFillRect(int bgW, int bgH, int fillW, int fillH);

// The fill is drawn from both ends of the image: its left `leftWidth` columns at the bar's
// start and its right-most `rightWidth` columns (from rightSourceX) right after them, so that
// an image with rounded ends shows both ends at every position.
struct ProgressFillPieces {
    int filled = 0;  // leftWidth + rightWidth
    int leftWidth = 0;
    int rightSourceX = 0;
    int rightWidth = 0;
};
// pos of the range lower..upper (upper > lower) on a fill fillW pixels wide. The filled width
// is fillW / (upper - lower) * pos in floating point, truncated, and kept within 0..fillW.
ProgressFillPieces ProgressFill(int fillW, int lower, int upper, int pos);

}  // namespace vorel
