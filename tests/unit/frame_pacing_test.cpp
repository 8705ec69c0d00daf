#include "base/layout.h"
#include "base/pass_pacing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

TEST(LayoutScale, FollowsTheHeightUnlessTheWindowIsPortrait) {
    EXPECT_FLOAT_EQ(layoutScale(5120, 1080), 1.0f);
    EXPECT_FLOAT_EQ(layoutScale(1000, 1000), 1000.0f / 1080.0f); // not the smaller ratio, 1000 / 1920
    EXPECT_FLOAT_EQ(layoutScale(999, 1000), 999.0f / 1920.0f);
}

// The loop's own schedule run for 10 s against a model of its waits: exact (a high-resolution
// timer, Wine) and Windows' default timer, where a wait ends on the first 15.625 ms tick after its
// due time. Each pass works 3 ms; the loop always yields 1 ms unless SwapBuffers waited.
struct PacingRun {
    int passes = 0, software = 0, gl = 0, consecutiveSoftware = 0, spins = 0;
    bool lastSoftware = false;
};

static PacingRun runSchedule(double tick, bool savingPower, bool swapWaits) {
    PacingRun run;
    PassPacing pacing;
    for (double now = 0.0123, wait = 0.0; now<10.0; now = tick> 0.0
                                              ? std::ceil((now + std::max(wait, 0.0)) / tick) * tick
                                              : now + std::max(wait, 0.0)) {
        if ((wait = secondsUntilPass(pacing, now)) > 0.0) {
            continue;
        }
        const PassPlan plan = beginPass(pacing, now, savingPower);
        ++run.passes;
        run.gl += plan.gl;
        run.software += plan.software;
        run.consecutiveSoftware += plan.software && run.lastSoftware;
        run.lastSoftware = plan.software;
        wait = secondsAfterPass(pacing, now += 0.003, swapWaits && plan.gl);
        run.spins += wait <= 0.0 && !(swapWaits && plan.gl);
    }
    return run;
}

TEST(FramePacing, SixtyPassesAndThirtySoftwareFramesASecondOnAnyTimer) {
    for (double tick : {0.0, 0.015625}) {
        for (bool swapWaits : {false, true}) {
            const PacingRun run = runSchedule(tick, false, swapWaits);
            EXPECT_NEAR(run.passes, 600, 10) << "tick " << tick;
            EXPECT_NEAR(run.software, 295, 5) << "tick " << tick;
            EXPECT_EQ(run.gl, run.passes);
            EXPECT_EQ(run.consecutiveSoftware, 0) << "tick " << tick;
            EXPECT_EQ(run.spins, 0);
        }
        // Saving power: GL frames in every second pass only; software frames as before.
        const PacingRun saving = runSchedule(tick, true, false);
        EXPECT_NEAR(saving.gl, 300, 5) << "tick " << tick;
        EXPECT_NEAR(saving.software, 295, 5) << "tick " << tick;
    }
    // Slow passes (40 ms apart) still get a software frame each; the first pass always has one.
    EXPECT_TRUE(softwareFrameDue(0.04, 0.0, true));
    EXPECT_TRUE(softwareFrameDue(0.0, -1.0, false));
    EXPECT_FALSE(softwareFrameDue(0.0333, 0.0, true));
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
