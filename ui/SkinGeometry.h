// Geometry of the skinned windows: how a background image is cut into frame pieces, where the
// window answers as caption or resize edge, where its own maximize puts it, where icon and
// title go, and which corner pixels the window region leaves out. Platform-free.
#pragma once
#include <array>
#include <functional>
#include <vector>

namespace vorel {

struct IntRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const IntRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

struct IntPoint {
    int x = 0, y = 0;
    bool operator==(const IntPoint& o) const { return x == o.x && y == o.y; }
};

// A rectangle as position and size, the form the blit calls take.
struct BlitBox {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const BlitBox& o) const {
        return x == o.x && y == o.y && width == o.width && height == o.height;
    }
};

// One piece of the background: copied unscaled when both boxes have the same size, else
// stretched.
struct SkinPiece {
    BlitBox dest;
    BlitBox source;
    bool stretch = false;
};

enum SkinPieceIndex {
    kPieceTopLeft,
    kPieceCaption,
    kPieceTopRight,
    kPieceLeft,
    kPieceRight,
    kPieceCentre,
    kPieceBottomLeft,
    kPieceBottom,
    kPieceBottomRight,
    kPieceCount
};

// The nine pieces of a background of bw x bh drawn on a window of W x H with border B and
// caption height C (-1: no caption band, the top band is B high).
std::array<SkinPiece, kPieceCount> NinePieces(int W, int H, int bw, int bh, int B, int C);

// The unscaled form: the whole image at (0, 0) clipped to the window, then the right and
// bottom frame pieces on top so that a window larger than its image keeps its frame.
std::vector<SkinPiece> UnscaledPieces(int W, int H, int bw, int bh, int B, int C);

// What the window answers to WM_NCHITTEST. The values are the system's HT codes, so the shell
// returns them as they are; kHitDefault means "let the default processing answer".
enum SkinHit {
    kHitDefault = -1000,
    kHitCaption = 2,
    kHitLeft = 10,
    kHitRight = 11,
    kHitTop = 12,
    kHitTopLeft = 13,
    kHitTopRight = 14,
    kHitBottom = 15,
    kHitBottomLeft = 16,
    kHitBottomRight = 17,
};

// (x, y) in client coordinates of a W x H client area.
SkinHit SkinHitTest(int x, int y, int W, int H, int B, int C, bool resizable, bool maximized);

// SC_SIZE plus the WMSZ_ edge for a resize hit (0xF001 ... 0xF008); 0 for any other hit.
unsigned SizeCommandForHit(int hit);

// The window's own maximize: the work area, shrunk symmetrically to at most maxW x maxH.
IntRect MaximizedRect(const IntRect& workArea, int maxW, int maxH);

// Where the window returns to when it was never moved: the work area inset by an eighth of its
// width and height on every side.
IntRect InitialRestoreRect(const IntRect& workArea);

// The caption's 16 x 16 icon.
IntPoint CaptionIconOrigin(int B, int C);
// The title's TextOut origin; iconWidth is 16 when an icon is drawn, else 0.
IntPoint CaptionTitleOrigin(int B, int C, int iconWidth, int fontLfHeight);

// Window pixels that the region leaves out: the key-coloured pixels of the background's four
// 9 x 9 corner squares, carried to the corners of a W x H window. isKey(x, y) answers for a
// pixel of the bw x bh background. A pixel may be listed twice on small images.
std::vector<IntPoint> CornerCutPixels(int W, int H, int bw, int bh,
                                      const std::function<bool(int, int)>& isKey);

// Caption buttons right to left from the client's right edge: each entry is the button's
// left x. widths are the buttons' widths in that order (close first).
std::vector<int> CaptionButtonLefts(int clientRight, int rightMargin, int gap,
                                    const std::vector<int>& widths);

}  // namespace vorel
