#include <gtest/gtest.h>

#include "mainwnd/TabStrip.h"

using namespace vorel;

namespace {
IntRect R(int l, int t, int r, int b) { return IntRect{l, t, r, b}; }
}  // namespace

TEST(TabStripGeometry, TabsCaptionsAndCloseIconsSitInTheCaptionBand) {
    EXPECT_EQ(TabRect(0), R(120, 3, 309, 25));
    EXPECT_EQ(TabRect(2), R(498, 3, 687, 25));
    EXPECT_EQ(TabCaptionRect(1), R(325, 8, 485, 22));
    EXPECT_EQ(TabCloseIconRect(0), R(296, 3, 309, 16));
    EXPECT_EQ(TabCloseIconRect(2), R(674, 3, 687, 16));
    EXPECT_EQ(StripRect(3), R(120, 3, 687, 25));
    EXPECT_EQ(StripRect(0).Width(), 0);
}

TEST(TabStripGeometry, PointsOverTheStripFindTheirTab) {
    // x = 120 itself and the strip's right end belong to no tab.
    EXPECT_EQ(TabAtPoint(120, 10, 3), -1);
    EXPECT_EQ(TabAtPoint(121, 10, 3), 0);
    EXPECT_EQ(TabAtPoint(308, 10, 3), 0);
    EXPECT_EQ(TabAtPoint(309, 10, 3), 1);
    EXPECT_EQ(TabAtPoint(686, 10, 3), 2);
    EXPECT_EQ(TabAtPoint(687, 10, 3), -1);
    EXPECT_EQ(TabAtPoint(309, 10, 1), -1);
    EXPECT_EQ(TabAtPoint(200, 10, 0), -1);
    // Rows 3 to 24 only.
    EXPECT_EQ(TabAtPoint(200, 2, 1), -1);
    EXPECT_EQ(TabAtPoint(200, 3, 1), 0);
    EXPECT_EQ(TabAtPoint(200, 24, 1), 0);
    EXPECT_EQ(TabAtPoint(200, 25, 1), -1);
}

TEST(TabStripGeometry, CloseIconTakesTheTopThirteenColumnsAtTheTabsRightEnd) {
    EXPECT_TRUE(IsOnCloseIcon(296, 3, 0));
    EXPECT_TRUE(IsOnCloseIcon(308, 15, 0));
    EXPECT_FALSE(IsOnCloseIcon(308, 16, 0));  // y < 16 only
    EXPECT_FALSE(IsOnCloseIcon(295, 10, 0));
    EXPECT_FALSE(IsOnCloseIcon(309, 10, 0));  // that is tab 1's left edge
    EXPECT_TRUE(IsOnCloseIcon(485, 5, 1));
    EXPECT_FALSE(IsOnCloseIcon(485, 5, 0));
}

TEST(TabStripGeometry, CurrentBeatsHoverInTheTabImage) {
    EXPECT_EQ(TabImageIndex(1, 1, 1), kTabImageCurrent);
    EXPECT_EQ(TabImageIndex(0, 1, 0), kTabImageHover);
    EXPECT_EQ(TabImageIndex(2, 1, 0), kTabImageNormal);
    EXPECT_EQ(TabImageIndex(0, 0, -1), kTabImageCurrent);
}

TEST(TabStripHover, EnteringATabInvalidatesOnlyThatTabAndActivatesItsTooltip) {
    StripHover h;
    HoverEffects fx = UpdateHoverOnHitTest(h, 200, 10, 2, false, false);
    EXPECT_EQ(h.tab, 0);
    EXPECT_EQ(h.part, kPartTab);
    ASSERT_EQ(fx.invalidate.size(), 1u);
    EXPECT_EQ(fx.invalidate[0], TabRect(0));
    EXPECT_EQ(fx.tooltip, TooltipChange::Activate);
    EXPECT_EQ(fx.tooltipTab, 0);
    EXPECT_TRUE(fx.requestLeaveTracking);

    // Moving within the same part repaints nothing and leaves the tooltip alone.
    fx = UpdateHoverOnHitTest(h, 250, 12, 2, false, true);
    EXPECT_TRUE(fx.invalidate.empty());
    EXPECT_EQ(fx.tooltip, TooltipChange::None);
    EXPECT_FALSE(fx.requestLeaveTracking);
}

TEST(TabStripHover, TheCloseIconRepaintsOnlyTheIconAndHidesTheTooltip) {
    StripHover h;
    UpdateHoverOnHitTest(h, 200, 10, 2, false, true);
    HoverEffects fx = UpdateHoverOnHitTest(h, 300, 8, 2, false, true);
    EXPECT_EQ(h.part, kPartCloseIcon);
    ASSERT_EQ(fx.invalidate.size(), 1u);
    EXPECT_EQ(fx.invalidate[0], TabCloseIconRect(0));
    EXPECT_EQ(fx.tooltip, TooltipChange::Deactivate);
    EXPECT_FALSE(h.tooltipActive);

    // With the left button down the icon shows pressed.
    fx = UpdateHoverOnHitTest(h, 301, 9, 2, true, true);
    EXPECT_EQ(h.part, kPartClosePressed);
    ASSERT_EQ(fx.invalidate.size(), 1u);
    EXPECT_EQ(fx.invalidate[0], TabCloseIconRect(0));

    // Back on the tab: the icon is repainted away and the tooltip comes back.
    fx = UpdateHoverOnHitTest(h, 200, 10, 2, false, true);
    EXPECT_EQ(h.part, kPartTab);
    ASSERT_EQ(fx.invalidate.size(), 1u);
    EXPECT_EQ(fx.invalidate[0], TabCloseIconRect(0));
    EXPECT_EQ(fx.tooltip, TooltipChange::Activate);
}

TEST(TabStripHover, MovingToAnotherTabRepaintsBothAndDropsTheOldTooltip) {
    StripHover h;
    UpdateHoverOnHitTest(h, 200, 10, 3, false, true);
    HoverEffects fx = UpdateHoverOnHitTest(h, 400, 10, 3, false, true);
    EXPECT_EQ(h.tab, 1);
    ASSERT_EQ(fx.invalidate.size(), 2u);
    EXPECT_EQ(fx.invalidate[0], TabRect(0));
    EXPECT_EQ(fx.invalidate[1], TabRect(1));
    EXPECT_EQ(fx.tooltip, TooltipChange::Deactivate);
    // The next hit test over the new tab shows its caption.
    fx = UpdateHoverOnHitTest(h, 401, 10, 3, false, true);
    EXPECT_EQ(fx.tooltip, TooltipChange::Activate);
    EXPECT_EQ(fx.tooltipTab, 1);
    EXPECT_TRUE(fx.invalidate.empty());
}

TEST(TabStripHover, LeavingTheStripRepaintsTheHoveredTabOnce) {
    StripHover h;
    UpdateHoverOnHitTest(h, 200, 10, 2, false, true);
    HoverEffects fx = UpdateHoverOnHitTest(h, 120, 10, 2, false, true);
    ASSERT_EQ(fx.invalidate.size(), 1u);
    EXPECT_EQ(fx.invalidate[0], TabRect(0));
    EXPECT_EQ(fx.tooltip, TooltipChange::Deactivate);
    EXPECT_EQ(h.tab, -1);
    EXPECT_EQ(h.part, kPartNone);
    // Further moves elsewhere cost nothing.
    fx = UpdateHoverOnHitTest(h, 900, 300, 2, false, true);
    EXPECT_TRUE(fx.invalidate.empty());
    EXPECT_EQ(fx.tooltip, TooltipChange::None);

    UpdateHoverOnHitTest(h, 320, 10, 2, false, true);
    EXPECT_EQ(ClearHover(h), std::vector<IntRect>{TabRect(1)});
    EXPECT_TRUE(ClearHover(h).empty());
}
