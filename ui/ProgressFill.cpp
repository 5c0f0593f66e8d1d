#include "ui/ProgressFill.h"

namespace vorel {

IntRect CentredFillRect(int bgW, int bgH, int fillW, int fillH) {
    const int dx = (bgW - fillW) / 2, dy = (bgH - fillH) / 2;
    return IntRect{dx, dy, fillW + dx, fillH + dy};
}

ProgressFillPieces ProgressFill(int fillW, int lower, int upper, int pos) {
    ProgressFillPieces p;
    if (upper <= lower || fillW <= 0) return p;
    int a = static_cast<int>(static_cast<double>(fillW) / (upper - lower) * pos);
    // A position outside the range (a negative lower bound) must not draw outside the image.
    if (a < 0) a = 0;
    if (a > fillW) a = fillW;
    p.filled = a;
    p.leftWidth = a / 2;
    p.rightWidth = a - p.leftWidth;
    p.rightSourceX = fillW - p.rightWidth;
    return p;
}

}  // namespace vorel
