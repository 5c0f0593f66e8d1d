// The tab strip in the main window's caption band: where each tab, its caption and its close
// icon lie, which tab a point is over, and how the hover state follows the hit test (which
// only invalidates; the drawing happens at the next erase). Platform-free.
#pragma once
#include <vector>

#include "ui/SkinGeometry.h"

namespace vorel {

constexpr int kMaxTabs = 3;

constexpr int kStripLeft = 120;
constexpr int kTabWidth = 189;
constexpr int kTabHeight = 22;
constexpr int kTabTop = 3;
constexpr int kCloseIconSize = 13;

// Images of the tab strip (index into the 3-frame image lists).
constexpr int kTabImageNormal = 0;
constexpr int kTabImageHover = 1;
constexpr int kTabImageCurrent = 2;

// Tab i in client coordinates: x 120 + 189i to 309 + 189i, y 3 to 25.
IntRect TabRect(int i);
// Where tab i's caption is drawn: (136 + 189i, 8) - (296 + 189i, 22).
IntRect TabCaptionRect(int i);
// Tab i's close icon: 13 x 13 at (296 + 189i, 3).
IntRect TabCloseIconRect(int i);
// The strip of `count` tabs: (120, 3) - (120 + 189 count, 25).
IntRect StripRect(int count);

// The tab under a client point, or -1. The strip holds the points with 3 <= y <= 24 and
// 120 < x < 120 + 189 count: neither x = 120 nor the strip's right end is over a tab.
int TabAtPoint(int x, int y, int count);
// Whether a client point over tab i lies on that tab's close icon (y < 16). The same test
// serves hover and press.
bool IsOnCloseIcon(int x, int y, int tab);

// The image a tab is drawn with.
int TabImageIndex(int tab, int current, int hoveredTab);

// Hovered part of the hovered tab; also the close-icon image drawn over it.
enum HoverPart { kPartNone = -1, kPartTab = 0, kPartCloseIcon = 1, kPartClosePressed = 2 };

struct StripHover {
    int tab = -1;
    int part = kPartNone;
    bool tooltipActive = false;
};

enum class TooltipChange { None, Activate, Deactivate };

// What the shell does after a hit test: invalidate these rectangles (with erase), switch the
// tooltip (Activate: with the caption of `tooltipTab`), request a mouse-leave notification.
struct HoverEffects {
    std::vector<IntRect> invalidate;
    TooltipChange tooltip = TooltipChange::None;
    int tooltipTab = -1;
    bool requestLeaveTracking = false;
};

// Updates the hover state for a hit test at a client point. trackingOn: a leave notification
// is already requested.
HoverEffects UpdateHoverOnHitTest(StripHover& hover, int x, int y, int tabCount,
                                  bool leftButtonDown, bool trackingOn);

// The mouse left the window: the hovered tab is repainted and forgotten.
std::vector<IntRect> ClearHover(StripHover& hover);

}  // namespace vorel
