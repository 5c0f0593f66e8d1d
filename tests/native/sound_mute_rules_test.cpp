#include "sound/MuteRules.h"

#include <gtest/gtest.h>

using namespace vorel;

TEST(MuteRules, TheMixerServesVistaAndLaterInterceptionTheSystemsBefore) {
    EXPECT_FALSE(UsesMixerMuting(4));  // NT 4, 98, Me
    EXPECT_FALSE(UsesMixerMuting(5));  // 2000, XP, 2003
    EXPECT_TRUE(UsesMixerMuting(6));   // Vista, 7, 8
    EXPECT_TRUE(UsesMixerMuting(10));
}

TEST(MuteRules, LineKindsSelectTheirComponentTypes) {
    EXPECT_EQ(MixerComponentTypeForLine(kMixerLineSpeakers), 4u);
    EXPECT_EQ(MixerComponentTypeForLine(kMixerLineWaveOut), 0x1008u);
    // Any other kind: the microphone.
    EXPECT_EQ(MixerComponentTypeForLine(2), 0x1003u);
    EXPECT_EQ(MixerComponentTypeForLine(-1), 0x1003u);
}
