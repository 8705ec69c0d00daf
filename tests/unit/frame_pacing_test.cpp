#include "base/layout.h"
#include "base/saver_time.h"

#include <gtest/gtest.h>

#include <cmath>

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

// A float holds the saver time to the millisecond for hours only: later the programs get a time
// wrapped back by whole 22 s cycles, so a week on, frames 1/60 s apart still step by 1/60 s. Times
// around 2^17, 2^20 and 10^7 s, across the first wrap, and 10 s past two periods (where a plain
// modulo would fall below one cycle and replay the fade-ins).
TEST(ProgramTime, StaysTheSaverTimeForHoursThenStepsEvenlyOnTheSameCycle) {
    EXPECT_EQ(programTime(31437.9), 31437.9f);
    for (double start : {131072.0, 1048576.0, 1.0e7, 22.0 + 31416.0 - 0.05, 62842.0}) {
        for (double t = start; t < start + 0.1; t += 1.0 / 60.0) {
            const double step = static_cast<double>(programTime(t + 1.0 / 60.0)) - programTime(t);
            EXPECT_NEAR(step < 0.0 ? step + 31416.0 : step, 1.0 / 60.0, 0.002) << t;
            EXPECT_NEAR(std::fmod(programTime(t), 22.0), std::fmod(t, 22.0), 0.002) << t;
            EXPECT_GE(programTime(t), 22.0f) << "the one-time fade-ins never replay";
        }
    }
}
