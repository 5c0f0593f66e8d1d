#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "ui/ProgressFill.h"
#include "ui/SkinGeometry.h"
#include "ui/SkinPixels.h"
#include "ui/WindowPlacement.h"

using namespace vorel;

namespace {
uint32_t Argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
    return (a << 24) | (r << 16) | (g << 8) | b;
}
uint32_t Dib(uint32_t r, uint32_t g, uint32_t b) { return (r << 16) | (g << 8) | b; }
}  // namespace

TEST(KeyedPixels, AlphaRulesGiveKeyOpaqueOrCompositedOverWhite) {
    EXPECT_EQ(KeyedDibPixel(0, 10, 20, 30), Dib(255, 0, 255));
    EXPECT_EQ(KeyedDibPixel(0, 255, 255, 255), Dib(255, 0, 255));
    EXPECT_EQ(KeyedDibPixel(255, 10, 20, 30), Dib(10, 20, 30));
    // 65025 - 128 * 255 = 32385, / 255 = 127.
    EXPECT_EQ(KeyedDibPixel(128, 0, 0, 0), Dib(127, 127, 127));
    EXPECT_EQ(KeyedDibPixel(1, 0, 0, 0), Dib(254, 254, 254));
    // Nearly opaque still lifts black by one step: (65025 - 254 * 255) / 255 = 1.
    EXPECT_EQ(KeyedDibPixel(254, 0, 100, 255), Dib(1, 100, 255));
    EXPECT_EQ(KeyedDibPixel(100, 200, 50, 255),
              Dib((65025 - 100 * 55) / 255, (65025 - 100 * 205) / 255, 255));
    // An opaque key-coloured pixel cannot be told from a transparent one.
    EXPECT_EQ(KeyedDibPixel(255, 255, 0, 255), KeyedDibPixel(0, 1, 2, 3));
    // Another key (a COLORREF, red in the low byte) lands in the DIB's red/green/blue order.
    EXPECT_EQ(KeyedDibPixel(0, 1, 2, 3, 0x00332211u), Dib(0x11, 0x22, 0x33));
}

TEST(KeyedPixels, ConversionIsBottomUpWithAZeroFourthByte) {
    const int w = 3, h = 2;
    const std::vector<uint32_t> src = {
        Argb(255, 1, 2, 3), Argb(0, 9, 9, 9),   Argb(128, 0, 0, 0),  // first PNG row
        Argb(255, 4, 5, 6), Argb(255, 7, 8, 9), Argb(200, 255, 255, 255),
    };
    std::vector<uint32_t> dib(w * h, 0xDEADBEEF);
    ConvertArgbToKeyedDib(src.data(), w, h, dib.data());
    // The first PNG row is the last row in memory.
    EXPECT_EQ(dib[3], Dib(1, 2, 3));
    EXPECT_EQ(dib[4], Dib(255, 0, 255));
    EXPECT_EQ(dib[5], Dib(127, 127, 127));
    EXPECT_EQ(dib[0], Dib(4, 5, 6));
    EXPECT_EQ(dib[1], Dib(7, 8, 9));
    EXPECT_EQ(dib[2], Dib(255, 255, 255));
    for (uint32_t p : dib) EXPECT_EQ(p >> 24, 0u);
}

TEST(NinePieces, StretchedSkinCoversTheWindowFromTheImagePieces) {
    // A 30 x 51 dialog background with caption 30 and border 4 on a 400 x 300 window.
    const auto p = NinePieces(400, 300, 30, 51, 4, 30);
    EXPECT_EQ(p[kPieceTopLeft].dest, (BlitBox{0, 0, 4, 30}));
    EXPECT_EQ(p[kPieceTopLeft].source, (BlitBox{0, 0, 4, 30}));
    EXPECT_FALSE(p[kPieceTopLeft].stretch);
    EXPECT_EQ(p[kPieceCaption].dest, (BlitBox{4, 0, 392, 30}));
    EXPECT_EQ(p[kPieceCaption].source, (BlitBox{4, 0, 22, 30}));
    EXPECT_TRUE(p[kPieceCaption].stretch);
    EXPECT_EQ(p[kPieceTopRight].dest, (BlitBox{396, 0, 4, 30}));
    EXPECT_EQ(p[kPieceTopRight].source, (BlitBox{26, 0, 4, 30}));
    EXPECT_EQ(p[kPieceLeft].dest, (BlitBox{0, 30, 4, 266}));
    EXPECT_EQ(p[kPieceLeft].source, (BlitBox{0, 30, 4, 17}));
    EXPECT_EQ(p[kPieceRight].dest, (BlitBox{396, 30, 4, 266}));
    EXPECT_EQ(p[kPieceCentre].dest, (BlitBox{4, 30, 392, 266}));
    EXPECT_EQ(p[kPieceCentre].source, (BlitBox{4, 30, 22, 17}));
    EXPECT_EQ(p[kPieceBottomLeft].dest, (BlitBox{0, 296, 4, 4}));
    EXPECT_EQ(p[kPieceBottomLeft].source, (BlitBox{0, 47, 4, 4}));
    EXPECT_EQ(p[kPieceBottom].dest, (BlitBox{4, 296, 392, 4}));
    EXPECT_EQ(p[kPieceBottomRight].dest, (BlitBox{396, 296, 4, 4}));
    EXPECT_EQ(p[kPieceBottomRight].source, (BlitBox{26, 47, 4, 4}));
    EXPECT_FALSE(p[kPieceBottomRight].stretch);

    // Every window pixel is covered exactly once.
    std::vector<int> cover(400 * 300, 0);
    for (const auto& piece : p) {
        for (int y = piece.dest.y; y < piece.dest.y + piece.dest.height; ++y)
            for (int x = piece.dest.x; x < piece.dest.x + piece.dest.width; ++x)
                ++cover[y * 400 + x];
    }
    EXPECT_TRUE(std::all_of(cover.begin(), cover.end(), [](int c) { return c == 1; }));
}

TEST(NinePieces, WithoutCaptionBandTheTopBandIsTheBorder) {
    const auto p = NinePieces(200, 100, 40, 40, 3, -1);
    EXPECT_EQ(p[kPieceTopLeft].dest, (BlitBox{0, 0, 3, 3}));
    EXPECT_EQ(p[kPieceCaption].dest, (BlitBox{3, 0, 194, 3}));
    EXPECT_EQ(p[kPieceLeft].dest, (BlitBox{0, 3, 3, 94}));
    EXPECT_EQ(p[kPieceLeft].source, (BlitBox{0, 3, 3, 34}));
}

TEST(NinePieces, UnscaledImageKeepsItsRightAndBottomFrameOnALargerWindow) {
    const auto p = UnscaledPieces(300, 200, 284, 150, 3, 30);
    ASSERT_EQ(p.size(), 6u);
    EXPECT_EQ(p[0].dest, (BlitBox{0, 0, 284, 150}));
    EXPECT_FALSE(p[0].stretch);
    EXPECT_EQ(p[1].dest, (BlitBox{297, 0, 3, 30}));    // top-right
    EXPECT_EQ(p[2].dest, (BlitBox{297, 30, 3, 167}));  // right
    EXPECT_EQ(p[3].dest, (BlitBox{0, 197, 3, 3}));     // bottom-left
    EXPECT_EQ(p[4].dest, (BlitBox{3, 197, 294, 3}));   // bottom
    EXPECT_EQ(p[5].dest, (BlitBox{297, 197, 3, 3}));   // bottom-right
    // A window smaller than its image shows only what fits.
    EXPECT_EQ(UnscaledPieces(100, 80, 284, 150, 3, 30)[0].dest, (BlitBox{0, 0, 100, 80}));
}

TEST(SkinHitTest, ResizableWindowAnswersEdgesCaptionAndClient) {
    auto hit = [](int x, int y) { return SkinHitTest(x, y, 800, 600, 4, 30, true, false); };
    EXPECT_EQ(hit(1, 1), kHitTopLeft);
    EXPECT_EQ(hit(400, 2), kHitTop);
    EXPECT_EQ(hit(400, 3), kHitCaption);
    EXPECT_EQ(hit(400, 29), kHitCaption);
    EXPECT_EQ(hit(400, 30), kHitDefault);
    EXPECT_EQ(hit(400, 597), kHitBottom);
    EXPECT_EQ(hit(799, 300), kHitRight);
    EXPECT_EQ(hit(2, 598), kHitBottomLeft);
    EXPECT_EQ(hit(3, 300), kHitLeft);
    EXPECT_EQ(hit(4, 300), kHitDefault);
    EXPECT_EQ(hit(796, 0), kHitTopRight);
    EXPECT_EQ(hit(796, 599), kHitBottomRight);
    EXPECT_EQ(hit(400, 595), kHitDefault);
    // Outside the client area (a captured mouse) nothing is claimed.
    EXPECT_EQ(hit(400, 600), kHitDefault);
}

TEST(SkinHitTest, FixedAndMaximizedWindows) {
    // Not resizable: only the caption band drags, and with no band the whole window does.
    EXPECT_EQ(SkinHitTest(1, 1, 300, 200, 4, 30, false, false), kHitCaption);
    EXPECT_EQ(SkinHitTest(150, 30, 300, 200, 4, 30, false, false), kHitDefault);
    EXPECT_EQ(SkinHitTest(299, 199, 300, 200, 3, -1, false, false), kHitCaption);
    EXPECT_EQ(SkinHitTest(150, 100, 250, 191, 3, 0, false, false), kHitDefault);
    // Resizable without a band: edges first, the rest is caption.
    EXPECT_EQ(SkinHitTest(150, 100, 300, 200, 4, -1, true, false), kHitCaption);
    EXPECT_EQ(SkinHitTest(150, 198, 300, 200, 4, -1, true, false), kHitCaption);
    // Maximized: neither dragging nor resizing.
    EXPECT_EQ(SkinHitTest(1, 1, 800, 600, 4, 30, true, true), kHitDefault);
    EXPECT_EQ(SkinHitTest(400, 10, 800, 600, 4, 30, true, true), kHitDefault);
}

TEST(SkinHitTest, ResizeHitsMapToTheSizeCommand) {
    EXPECT_EQ(SizeCommandForHit(kHitLeft), 0xF001u);
    EXPECT_EQ(SizeCommandForHit(kHitRight), 0xF002u);
    EXPECT_EQ(SizeCommandForHit(kHitTop), 0xF003u);
    EXPECT_EQ(SizeCommandForHit(kHitTopLeft), 0xF004u);
    EXPECT_EQ(SizeCommandForHit(kHitTopRight), 0xF005u);
    EXPECT_EQ(SizeCommandForHit(kHitBottom), 0xF006u);
    EXPECT_EQ(SizeCommandForHit(kHitBottomLeft), 0xF007u);
    EXPECT_EQ(SizeCommandForHit(kHitBottomRight), 0xF008u);
    EXPECT_EQ(SizeCommandForHit(kHitCaption), 0u);
    EXPECT_EQ(SizeCommandForHit(1), 0u);
}

TEST(OwnMaximize, WorkAreaIsLimitedAndCentredAndRestoreStartsAnEighthIn) {
    const IntRect work{0, 0, 1280, 994};
    EXPECT_EQ(MaximizedRect(work, 1280, 994), work);
    EXPECT_EQ(MaximizedRect(work, 1440, 900), (IntRect{0, 47, 1280, 947}));
    EXPECT_EQ(MaximizedRect({0, 0, 1920, 1040}, 1440, 900), (IntRect{240, 70, 1680, 970}));
    // An odd surplus leaves the extra pixel inside.
    EXPECT_EQ(MaximizedRect({0, 0, 1001, 500}, 1000, 500), (IntRect{0, 0, 1001, 500}));
    EXPECT_EQ(MaximizedRect({100, 30, 1380, 1054}, 1000, 1024), (IntRect{240, 30, 1240, 1054}));

    EXPECT_EQ(InitialRestoreRect({0, 0, 1280, 994}), (IntRect{160, 124, 1120, 870}));
    // A work area that does not start at the screen's corner (taskbar at the top).
    EXPECT_EQ(InitialRestoreRect({0, 40, 1280, 1024}), (IntRect{160, 163, 1120, 901}));
}

TEST(DialogPlacement, CentredOnTheOwnerAndKeptOnTheOwnersMonitor) {
    // A second monitor right of a 1280 x 1024 primary one, its taskbar at the bottom.
    const IntRect second{1280, 0, 3200, 1040};
    // Centred on an owner there, not pulled back onto the primary monitor.
    EXPECT_EQ(CentreInWorkArea(300, 200, {2000, 100, 3000, 800}, second), (IntPoint{2350, 350}));
    // An owner half off that monitor's right edge: kept inside that monitor.
    EXPECT_EQ(CentreInWorkArea(300, 200, {3000, 900, 3400, 1100}, second), (IntPoint{2900, 840}));
    // An owner that is hidden or minimised: centred on the work area itself.
    EXPECT_EQ(CentreInWorkArea(300, 200, second, second), (IntPoint{2090, 420}));
    // A monitor left of the primary one has negative coordinates.
    const IntRect left{-1280, 0, 0, 1024};
    EXPECT_EQ(CentreInWorkArea(300, 200, {-1000, 200, -400, 600}, left), (IntPoint{-850, 300}));
    EXPECT_EQ(CentreInWorkArea(300, 200, {-100, 0, 100, 50}, left), (IntPoint{-300, 0}));
    // Larger than the work area: its top-left corner stays in view.
    EXPECT_EQ(CentreInWorkArea(2000, 1200, {2000, 100, 3000, 800}, second), (IntPoint{1280, 0}));
}

TEST(CaptionLayout, IconAndTitlePositions) {
    EXPECT_EQ(CaptionIconOrigin(4, 30), (IntPoint{4, 7}));
    EXPECT_EQ(CaptionTitleOrigin(4, 30, 16, -12), (IntPoint{25, 7}));
    EXPECT_EQ(CaptionTitleOrigin(4, 30, 0, -12), (IntPoint{9, 7}));
    // A positive lfHeight counts the same.
    EXPECT_EQ(CaptionTitleOrigin(4, 30, 16, 12), (IntPoint{25, 7}));
    // No caption band: the icon sits at y 6 and the title's h2 falls back to 6.
    EXPECT_EQ(CaptionIconOrigin(3, -1), (IntPoint{3, 6}));
    EXPECT_EQ(CaptionTitleOrigin(3, -1, 0, -12), (IntPoint{8, 4}));
    EXPECT_EQ(CaptionTitleOrigin(3, 0, 0, -12), (IntPoint{8, 4}));
}

TEST(CaptionLayout, ButtonsStandRightToLeft) {
    // Close 33, maximize 27, minimize 27 on a 1000-pixel client with no margin and no gap.
    EXPECT_EQ(CaptionButtonLefts(1000, 0, 0, {33, 27, 27}), (std::vector<int>{967, 940, 913}));
    EXPECT_EQ(CaptionButtonLefts(284, 5, 2, {33, 27}), (std::vector<int>{246, 217}));
    EXPECT_TRUE(CaptionButtonLefts(284, 5, 0, {}).empty());
}

TEST(WindowRegion, KeyColouredCornerPixelsAreCutAtEveryWindowSize) {
    // A 30 x 51 image whose top-left corner holds a quarter circle of key colour of radius 5
    // and whose bottom-right pixel is keyed; nothing outside the 9 x 9 corners is looked at.
    const int bw = 30, bh = 51;
    std::vector<std::pair<int, int>> asked;
    auto isKey = [&](int x, int y) {
        asked.push_back({x, y});
        if (x < 5 && y < 5) return (5 - x) * (5 - x) + (5 - y) * (5 - y) > 25;
        return x == bw - 1 && y == bh - 1;
    };
    for (auto [W, H] : {std::pair<int, int>{300, 200}, {640, 480}}) {
        asked.clear();
        const auto cut = CornerCutPixels(W, H, bw, bh, isKey);
        auto has = [&](int x, int y) {
            return std::find(cut.begin(), cut.end(), IntPoint{x, y}) != cut.end();
        };
        EXPECT_TRUE(has(0, 0));
        EXPECT_TRUE(has(1, 0));
        EXPECT_TRUE(has(0, 1));
        EXPECT_FALSE(has(4, 4));
        EXPECT_FALSE(has(5, 0));
        EXPECT_TRUE(has(W - 1, H - 1));
        EXPECT_FALSE(has(W - 1, 0));
        for (const auto& p : cut) {
            EXPECT_TRUE((p.x < 9 || p.x >= W - 9) && (p.y < 9 || p.y >= H - 9));
        }
        for (const auto& [x, y] : asked) {
            EXPECT_TRUE((x < 9 || x >= bw - 9) && (y < 9 || y >= bh - 9)) << x << "," << y;
        }
    }
}

TEST(WindowRegion, ImagesSmallerThanTheCornerSquaresStayInside) {
    int outside = 0;
    auto isKey = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= 4 || y >= 5) ++outside;
        return true;
    };
    const auto cut = CornerCutPixels(20, 20, 4, 5, isKey);
    EXPECT_EQ(outside, 0);
    EXPECT_FALSE(cut.empty());
    for (const auto& p : cut) {
        EXPECT_TRUE(p.x >= 0 && p.x < 20 && p.y >= 0 && p.y < 20);
    }
}

TEST(ProgressFill, FillIsDrawnFromBothEndsOfTheImage) {
    auto half = ProgressFill(380, 0, 100, 50);
    EXPECT_EQ(half.filled, 190);
    EXPECT_EQ(half.leftWidth, 95);
    EXPECT_EQ(half.rightWidth, 95);
    EXPECT_EQ(half.rightSourceX, 285);

    auto none = ProgressFill(380, 0, 100, 0);
    EXPECT_EQ(none.leftWidth + none.rightWidth, 0);

    auto full = ProgressFill(380, 0, 100, 100);
    EXPECT_EQ(full.leftWidth, 190);
    EXPECT_EQ(full.rightWidth, 190);
    EXPECT_EQ(full.rightSourceX, 190);  // the two halves meet: the whole image

    // 3.8 * 33 = 125.4 -> 125: the right half takes the odd column.
    auto odd = ProgressFill(380, 0, 100, 33);
    EXPECT_EQ(odd.leftWidth, 62);
    EXPECT_EQ(odd.rightWidth, 63);
    EXPECT_EQ(odd.rightSourceX, 317);

    EXPECT_EQ(ProgressFill(380, 0, 100, 150).filled, 380);
    EXPECT_EQ(ProgressFill(380, 0, 0, 50).filled, 0);
    EXPECT_EQ(ProgressFill(380, -10, 10, -5).filled, 0);
}

TEST(ProgressFill, FillSitsCentredInTheBackground) {
    EXPECT_EQ(CentredFillRect(390, 21, 380, 13), (IntRect{5, 4, 385, 17}));
    EXPECT_EQ(CentredFillRect(390, 21, 390, 21), (IntRect{0, 0, 390, 21}));
    EXPECT_EQ(CentredFillRect(390, 21, 385, 12), (IntRect{2, 4, 387, 16}));
}
