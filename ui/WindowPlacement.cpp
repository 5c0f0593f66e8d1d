#include "ui/WindowPlacement.h"

namespace vorel {

IntPoint CentreInWorkArea(int w, int h, const IntRect& around, const IntRect& work) {
    // Halves of widths, never of coordinates: a monitor left of the primary one has negative
    // coordinates, and dividing them would round towards the primary monitor.
    int x = around.left + around.Width() / 2 - w / 2;
    int y = around.top + around.Height() / 2 - h / 2;
    if (x + w > work.right) x = work.right - w;
    if (y + h > work.bottom) y = work.bottom - h;
    if (x < work.left) x = work.left;
    if (y < work.top) y = work.top;
    return IntPoint{x, y};
}

IntRect CentredRect(const IntRect& around, int w, int h) {
    const int left = around.left + (around.Width() - w) / 2;
    const int top = around.top + (around.Height() - h) / 2;
    return IntRect{left, top, left + w, top + h};
}

}  // namespace vorel
