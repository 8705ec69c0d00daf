#include "gl/layout.h"
#include "shell/frame_pacing.h"

#include <gtest/gtest.h>

namespace {

TEST(LayoutScale, FollowsTheHeightUnlessTheWindowIsPortrait) {
    EXPECT_FLOAT_EQ(layoutScale(1920, 1080), 1.0f);
    EXPECT_FLOAT_EQ(layoutScale(1920, 1200), 1200.0f / 1080.0f);
    EXPECT_FLOAT_EQ(layoutScale(2560, 1440), 1440.0f / 1080.0f);
    EXPECT_FLOAT_EQ(layoutScale(3840, 2160), 2.0f);
    EXPECT_FLOAT_EQ(layoutScale(152, 112), 112.0f / 1080.0f);
    EXPECT_FLOAT_EQ(layoutScale(1080, 1920), 1080.0f / 1920.0f);
    // Not the smaller of the two ratios: an ultra-wide short window still follows its height.
    EXPECT_FLOAT_EQ(layoutScale(5120, 1080), 1.0f);
    // Square windows follow the height; one pixel narrower than high switches to the width.
    EXPECT_FLOAT_EQ(layoutScale(1000, 1000), 1000.0f / 1080.0f);
    EXPECT_FLOAT_EQ(layoutScale(999, 1000), 999.0f / 1920.0f);
    EXPECT_FLOAT_EQ(layoutScale(1, 1), 1.0f / 1080.0f);
}

TEST(FramePacing, AnEarlyPassSleepsUntilTheSixtiethOfASecond) {
    // 16.67 ms period: a 5 ms pass leaves 11.67 ms, truncated to 11.
    EXPECT_EQ(passSleepMilliseconds(10.0, 10.005, false), 11);
    EXPECT_EQ(passSleepMilliseconds(10.0, 10.005, true), 11);
    EXPECT_EQ(passSleepMilliseconds(0.0, 0.0, false), 16);
    EXPECT_EQ(passSleepMilliseconds(0.0, 0.0155, false), 1);
}

TEST(FramePacing, ALatePassYieldsOnlyWithoutVsync) {
    // Less than 1 ms left, exactly on the mark, or overrun.
    for (double end : {0.0160, 1.0 / 60.0, 0.020, 0.5}) {
        EXPECT_EQ(passSleepMilliseconds(0.0, end, false), 1) << end;
        EXPECT_EQ(passSleepMilliseconds(0.0, end, true), 0) << end;
    }
}

TEST(SoftwareCadence, AtMostThirtyFramesASecondFromTheLastDuePass) {
    EXPECT_TRUE(softwareFrameDue(0.0, -1.0));
    EXPECT_FALSE(softwareFrameDue(1.0 / 60.0, 0.0));
    EXPECT_FALSE(softwareFrameDue(0.0333, 0.0));
    EXPECT_TRUE(softwareFrameDue(1.0 / 30.0, 0.0));
    EXPECT_TRUE(softwareFrameDue(0.034, 0.0));
    // Measured from the last due pass, not from a fixed grid.
    EXPECT_FALSE(softwareFrameDue(0.070, 0.040));
    EXPECT_TRUE(softwareFrameDue(0.074, 0.040));
}

TEST(SoftwareCadence, SixtyPassesASecondGiveThirtySoftwareFrames) {
    double last = -1.0;
    int frames = 0;
    for (int pass = 0; pass < 600; ++pass) {
        // Passes a little jittered around 1/60 s, as Sleep's granularity makes them.
        const double t = pass / 60.0 + ((pass % 3) - 1) * 0.0004;
        if (softwareFrameDue(t, last)) {
            ASSERT_GE(t - last, 1.0 / 30.0);
            last = t;
            ++frames;
        }
    }
    EXPECT_LE(frames, 301);
    EXPECT_GE(frames, 199);
}

TEST(CardFade, RisesFromPointFourToOnePointEightSeconds) {
    EXPECT_EQ(cardFade(0.0), 0.0f);
    EXPECT_EQ(cardFade(0.4), 0.0f);
    EXPECT_NEAR(cardFade(1.1), 0.5f, 1e-6f);
    EXPECT_NEAR(cardFade(0.75), 0.25f, 1e-6f);
    EXPECT_EQ(cardFade(1.8), 1.0f);
    EXPECT_EQ(cardFade(600.0), 1.0f);
}

} // namespace
