#include "web/NoticeShowings.h"

#include <gtest/gtest.h>

using namespace vorel;

TEST(NoticeShowings, OneShowingEndsTheNoticeAndLetsItComeBack) {
    NoticeShowings s(1);
    EXPECT_TRUE(s.Start().startShowingTimer);
    const NoticeStep over = s.ShowingOver();
    EXPECT_TRUE(over.end);
    EXPECT_FALSE(over.startWaitTimer);
    ASSERT_NE(over.popEnable, nullptr);
    EXPECT_STREQ(over.popEnable, L"1");
    EXPECT_EQ(s.state(), NoticeShowings::State::Ended);
}

TEST(NoticeShowings, ThreeShowingsFortyMinutesApartAndASkippedOneStillCounts) {
    NoticeShowings s(3);
    s.Start();
    NoticeStep step = s.ShowingOver();
    EXPECT_TRUE(step.hide && step.startWaitTimer && !step.end);
    EXPECT_EQ(step.popEnable, nullptr);
    step = s.WaitOver(true);
    EXPECT_TRUE(step.show && step.startShowingTimer);
    EXPECT_EQ(s.showing(), 2);
    step = s.ShowingOver();
    EXPECT_TRUE(step.hide && step.startWaitTimer);
    // The main window is hidden (boss key): this showing is not seen, yet it counts.
    step = s.WaitOver(false);
    EXPECT_FALSE(step.show);
    EXPECT_TRUE(step.startShowingTimer);
    EXPECT_EQ(s.showing(), 3);
    step = s.ShowingOver();
    EXPECT_TRUE(step.end);
    EXPECT_STREQ(step.popEnable, L"1");
    EXPECT_EQ(kNoticeShowingMs, 11000u);
    EXPECT_EQ(kNoticeWaitMs, 2400000u);
}

TEST(NoticeShowings, CountsBelowOneStillGiveTheFirstShowing) {
    for (int count : {0, -5}) {
        NoticeShowings s(count);
        EXPECT_TRUE(s.Start().startShowingTimer);
        EXPECT_TRUE(s.ShowingOver().end) << count;
    }
}

TEST(NoticeShowings, ThePlayerEndsItWithZeroTheProgramWithoutWriting) {
    NoticeShowings closed(3);
    closed.Start();
    NoticeStep step = closed.Closed();
    EXPECT_TRUE(step.end);
    EXPECT_STREQ(step.popEnable, L"0");
    EXPECT_FALSE(step.openLink);

    NoticeShowings clicked(3);
    clicked.Start();
    step = clicked.Clicked(true);
    EXPECT_TRUE(step.end && step.openLink);
    EXPECT_STREQ(step.popEnable, L"0");

    NoticeShowings refused(3);
    step = refused.Clicked(false);
    EXPECT_TRUE(step.end);
    EXPECT_FALSE(step.openLink) << "a link that may not be opened behaves as none";
    EXPECT_STREQ(step.popEnable, L"0");

    NoticeShowings minimised(3);
    step = minimised.Minimised();
    EXPECT_TRUE(step.end);
    EXPECT_EQ(step.popEnable, nullptr);
}

TEST(NoticeShowings, NothingHappensAfterTheEndOrForATimerOfTheOtherPhase) {
    NoticeShowings s(3);
    s.Start();
    // Timer 2 is not running while a showing lasts.
    NoticeStep step = s.WaitOver(true);
    EXPECT_FALSE(step.show || step.startShowingTimer || step.end);
    EXPECT_EQ(s.showing(), 1);
    s.Minimised();
    for (const NoticeStep& late : {s.ShowingOver(), s.WaitOver(true), s.Closed(), s.Clicked(true),
                                   s.Minimised(), s.Start()}) {
        EXPECT_FALSE(late.end || late.show || late.hide || late.openLink ||
                     late.startShowingTimer || late.startWaitTimer);
        EXPECT_EQ(late.popEnable, nullptr);
    }
}
