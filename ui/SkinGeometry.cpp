#include "ui/SkinGeometry.h"

#include <algorithm>

namespace vorel {

namespace {
SkinPiece Copy(BlitBox dest, BlitBox source) { return SkinPiece{dest, source, false}; }
SkinPiece Stretch(BlitBox dest, BlitBox source) { return SkinPiece{dest, source, true}; }
}  // namespace

std::array<SkinPiece, kPieceCount> NinePieces(int W, int H, int bw, int bh, int B, int C) {
    if (C == -1) C = B;
    std::array<SkinPiece, kPieceCount> p;
    p[kPieceTopLeft] = Copy({0, 0, B, C}, {0, 0, B, C});
    p[kPieceCaption] = Stretch({B, 0, W - 2 * B, C}, {B, 0, bw - 2 * B, C});
    p[kPieceTopRight] = Copy({W - B, 0, B, C}, {bw - B, 0, B, C});
    p[kPieceLeft] = Stretch({0, C, B, H - C - B}, {0, C, B, bh - C - B});
    p[kPieceRight] = Stretch({W - B, C, B, H - C - B}, {bw - B, C, B, bh - C - B});
    p[kPieceCentre] = Stretch({B, C, W - 2 * B, H - C - B}, {B, C, bw - 2 * B, bh - C - B});
    p[kPieceBottomLeft] = Copy({0, H - B, B, B}, {0, bh - B, B, B});
    p[kPieceBottom] = Stretch({B, H - B, W - 2 * B, B}, {B, bh - B, bw - 2 * B, B});
    p[kPieceBottomRight] = Copy({W - B, H - B, B, B}, {bw - B, bh - B, B, B});
    return p;
}

std::vector<SkinPiece> UnscaledPieces(int W, int H, int bw, int bh, int B, int C) {
    const auto nine = NinePieces(W, H, bw, bh, B, C);
    std::vector<SkinPiece> pieces;
    const BlitBox whole{0, 0, std::min(W, bw), std::min(H, bh)};
    pieces.push_back(Copy(whole, whole));
    for (int i : {kPieceTopRight, kPieceRight, kPieceBottomLeft, kPieceBottom, kPieceBottomRight}) {
        pieces.push_back(nine[i]);
    }
    return pieces;
}

SkinHit SkinHitTest(int x, int y, int W, int H, int B, int C, bool resizable, bool maximized) {
    if (maximized) return kHitDefault;
    const bool inCaption = C == -1 || (y >= 0 && y < C);
    if (!resizable) return inCaption ? kHitCaption : kHitDefault;
    const bool topBand = y >= 0 && y < B;
    const bool bottomBand = y >= H - B && y < H;
    if (x >= 0 && x < B) {
        if (topBand) return kHitTopLeft;
        return bottomBand ? kHitBottomLeft : kHitLeft;
    }
    if (x >= W - B && x < W) {
        if (topBand) return kHitTopRight;
        return bottomBand ? kHitBottomRight : kHitRight;
    }
    // The top edge is a fixed 3-pixel band whatever the border width.
    if (y >= 0 && y < 3) return kHitTop;
    if (C == -1 || (y >= 3 && y < C)) return kHitCaption;
    if (bottomBand) return kHitBottom;
    return kHitDefault;
}

unsigned SizeCommandForHit(int hit) {
    switch (hit) {
        case kHitLeft:
            return 0xF001;
        case kHitRight:
            return 0xF002;
        case kHitTop:
            return 0xF003;
        case kHitTopLeft:
            return 0xF004;
        case kHitTopRight:
            return 0xF005;
        case kHitBottom:
            return 0xF006;
        case kHitBottomLeft:
            return 0xF007;
        case kHitBottomRight:
            return 0xF008;
        default:
            return 0;
    }
}

IntRect MaximizedRect(const IntRect& workArea, int maxW, int maxH) {
    IntRect r = workArea;
    if (r.Width() > maxW) {
        const int inset = (r.Width() - maxW) / 2;
        r.left += inset;
        r.right -= inset;
    }
    if (r.Height() > maxH) {
        const int inset = (r.Height() - maxH) / 2;
        r.top += inset;
        r.bottom -= inset;
    }
    return r;
}

IntRect InitialRestoreRect(const IntRect& workArea) {
    const int dx = workArea.Width() / 8, dy = workArea.Height() / 8;
    return IntRect{workArea.left + dx, workArea.top + dy, workArea.right - dx,
                   workArea.bottom - dy};
}

IntPoint CaptionIconOrigin(int B, int C) { return IntPoint{B, C == -1 ? 6 : (C - 15) / 2}; }

IntPoint CaptionTitleOrigin(int B, int C, int iconWidth, int fontLfHeight) {
    const int fontHeight = fontLfHeight < 0 ? -fontLfHeight : fontLfHeight;
    int h2 = (C - fontHeight + 1) / 2;
    if (h2 < 0) h2 = 6;
    return IntPoint{B + iconWidth + 5, h2 - 2};
}

std::vector<IntPoint> CornerCutPixels(int W, int H, int bw, int bh,
                                      const std::function<bool(int, int)>& isKey) {
    std::vector<IntPoint> cut;
    auto scanRow = [&](int sy, int wy) {
        for (int x = 0; x < bw && x < 9; ++x) {
            if (isKey(x, sy)) cut.push_back({x, wy});
            if (isKey(bw - 1 - x, sy)) cut.push_back({W - 1 - x, wy});
        }
    };
    for (int y = 0; y < bh && y < 9; ++y) scanRow(y, y);
    // Rows above the image's top (images lower than 9 pixels) have no pixels to test.
    for (int y = std::max(bh - 9, 0); y < bh; ++y) scanRow(y, H - bh + y);
    return cut;
}

std::vector<int> CaptionButtonLefts(int clientRight, int rightMargin, int gap,
                                    const std::vector<int>& widths) {
    std::vector<int> lefts;
    int right = clientRight - rightMargin;
    for (size_t i = 0; i < widths.size(); ++i) {
        if (i > 0) right -= widths[i - 1] + gap;
        lefts.push_back(right - widths[i]);
    }
    return lefts;
}

}  // namespace vorel
