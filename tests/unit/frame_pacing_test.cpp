#include "gl/layout.h"
#include "shell/frame_pacing.h"

#include <gtest/gtest.h>

TEST(LayoutScale, FollowsTheHeightUnlessTheWindowIsPortrait) {
    EXPECT_FLOAT_EQ(layoutScale(5120, 1080), 1.0f);
    EXPECT_FLOAT_EQ(layoutScale(1000, 1000), 1000.0f / 1080.0f); // not the smaller ratio, 1000 / 1920
    EXPECT_FLOAT_EQ(layoutScale(999, 1000), 999.0f / 1920.0f);
}

// Sixty passes a second, software frames at most every thirtieth, cards fading in from 0.4 s over 1.4 s.
TEST(FramePacing, PassesSoftwareFramesAndCardFadeKeepTheirTimes) {
    EXPECT_EQ(passSleepMilliseconds(10.0, 10.005, false), 11); // 16.67 - 5 ms, truncated
    EXPECT_EQ(passSleepMilliseconds(10.0, 10.005, true), 11);
    // An overrun pass still yields, unless SwapBuffers' wait for the vertical blank does it.
    EXPECT_EQ(passSleepMilliseconds(0.0, 0.5, false), 1);
    EXPECT_EQ(passSleepMilliseconds(0.0, 0.5, true), 0);
    EXPECT_TRUE(softwareFrameDue(0.0, -1.0));
    EXPECT_FALSE(softwareFrameDue(0.0733, 0.040));
    EXPECT_TRUE(softwareFrameDue(0.040 + 1.0 / 30.0, 0.040));
    EXPECT_EQ(cardFade(0.0), 0.0f);
    EXPECT_NEAR(cardFade(1.1), 0.5f, 1e-6f); // (1.1 - 0.4) / 1.4
    EXPECT_EQ(cardFade(600.0), 1.0f);
}
