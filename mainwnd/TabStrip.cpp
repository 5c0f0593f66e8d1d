#include "mainwnd/TabStrip.h"

namespace vorel {

namespace {
constexpr int kStripBottomInclusive = 24;
constexpr int kCloseIconHitBottom = 16;  // y below this is on the icon
constexpr int kCaptionInsetLeft = 16;
constexpr int kCaptionTop = 8;
constexpr int kCaptionBottom = 22;
}  // namespace

IntRect TabRect(int i) {
    const int left = kStripLeft + kTabWidth * i;
    return IntRect{left, kTabTop, left + kTabWidth, kTabTop + kTabHeight};
}

IntRect TabCaptionRect(int i) {
    const int left = kStripLeft + kTabWidth * i;
    return IntRect{left + kCaptionInsetLeft, kCaptionTop, left + kTabWidth - kCloseIconSize,
                   kCaptionBottom};
}

IntRect TabCloseIconRect(int i) {
    const int left = kStripLeft + kTabWidth * (i + 1) - kCloseIconSize;
    return IntRect{left, kTabTop, left + kCloseIconSize, kTabTop + kCloseIconSize};
}

IntRect StripRect(int count) {
    return IntRect{kStripLeft, kTabTop, kStripLeft + kTabWidth * count, kTabTop + kTabHeight};
}

int TabAtPoint(int x, int y, int count) {
    if (count <= 0 || y < kTabTop || y > kStripBottomInclusive) return -1;
    if (x <= kStripLeft || x >= kStripLeft + kTabWidth * count) return -1;
    return (x - kStripLeft) / kTabWidth;
}

bool IsOnCloseIcon(int x, int y, int tab) {
    const IntRect icon = TabCloseIconRect(tab);
    return x >= icon.left && x < icon.right && y < kCloseIconHitBottom;
}

int TabImageIndex(int tab, int current, int hoveredTab) {
    if (tab == current) return kTabImageCurrent;
    if (tab == hoveredTab) return kTabImageHover;
    return kTabImageNormal;
}

HoverEffects UpdateHoverOnHitTest(StripHover& hover, int x, int y, int tabCount,
                                  bool leftButtonDown, bool trackingOn) {
    HoverEffects fx;
    const int e = TabAtPoint(x, y, tabCount);
    if (e < 0) {
        if (hover.tab >= 0) fx.invalidate.push_back(TabRect(hover.tab));
        hover.tab = -1;
        hover.part = kPartNone;
        if (hover.tooltipActive) fx.tooltip = TooltipChange::Deactivate;
        hover.tooltipActive = false;
        return fx;
    }

    if (!hover.tooltipActive) {
        fx.tooltip = TooltipChange::Activate;
        fx.tooltipTab = e;
        hover.tooltipActive = true;
    } else if (e != hover.tab) {
        fx.tooltip = TooltipChange::Deactivate;
        hover.tooltipActive = false;
    }

    int part = kPartTab;
    if (IsOnCloseIcon(x, y, e)) {
        part = leftButtonDown ? kPartClosePressed : kPartCloseIcon;
        // The icon has its own meaning; the caption's tooltip would cover it.
        if (hover.tooltipActive) fx.tooltip = TooltipChange::Deactivate;
        hover.tooltipActive = false;
    }

    if (e != hover.tab || part != hover.part) {
        if (hover.tab >= 0) {
            fx.invalidate.push_back(hover.tab == e ? TabCloseIconRect(e) : TabRect(hover.tab));
        }
        const bool tabChanged = e != hover.tab;
        hover.tab = e;
        hover.part = part;
        if (tabChanged) fx.invalidate.push_back(TabRect(e));
    }

    fx.requestLeaveTracking = !trackingOn;
    return fx;
}

std::vector<IntRect> ClearHover(StripHover& hover) {
    std::vector<IntRect> invalidate;
    if (hover.tab >= 0) invalidate.push_back(TabRect(hover.tab));
    hover.tab = -1;
    hover.part = kPartNone;
    return invalidate;
}

}  // namespace vorel
