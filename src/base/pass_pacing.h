#pragma once

// The main loop's schedule, free of the platform so that it can be run against a model of Windows'
// timer. Passes start on a 1/60 s grid: a wait that ends late (Windows' default timer ticks every
// 15.6 ms) shortens the next wait instead of slowing the loop down.

#include "base/saver_time.h"

struct PassPacing {
    double nextPassTime = 0.0; // saver time at which the next pass may start
    double lastSoftwareFrameTime = -1.0;
    bool lastPassDrewSoftware = false;
    bool lastPassDrewGl = false;
};

// Which windows draw in a pass.
struct PassPlan {
    bool gl = true;
    bool software = false;
};

// Software windows are redrawn at most 30 times a second, always all in the same pass: 1/30 s after
// the last software frame, or already half a pass earlier when the pass before drew none, so that
// passes that wake a little early or late still give every second pass a frame.
inline bool softwareFrameDue(double saverTime, double lastSoftwareFrameTime, bool lastPassDrewSoftware) {
    const double since = saverTime - lastSoftwareFrameTime;
    return since >= softwareFrameInterval ||
           (!lastPassDrewSoftware && since >= softwareFrameInterval - passPeriod / 2);
}

// Seconds until the next pass may start; zero or less when it is due.
inline double secondsUntilPass(const PassPacing& pacing, double saverTime) {
    return pacing.nextPassTime - saverTime;
}

// Starts a pass at saverTime: what it draws, and the next pass's start. GL windows draw every pass,
// or every second pass while the PC saves power.
inline PassPlan beginPass(PassPacing& pacing, double saverTime, bool savingPower) {
    PassPlan plan;
    plan.software = softwareFrameDue(saverTime, pacing.lastSoftwareFrameTime, pacing.lastPassDrewSoftware);
    plan.gl = !savingPower || !pacing.lastPassDrewGl;
    if (plan.software) {
        pacing.lastSoftwareFrameTime = saverTime;
    }
    pacing.lastPassDrewSoftware = plan.software;
    pacing.lastPassDrewGl = plan.gl;
    // A pass more than a period late (a stall, a pause) starts the grid anew instead of catching up
    // in a burst.
    pacing.nextPassTime += passPeriod;
    if (pacing.nextPassTime <= saverTime) {
        pacing.nextPassTime = saverTime + passPeriod;
    }
    return plan;
}

// Seconds to wait after a pass that ended at endTime. Unless SwapBuffers already waited for the
// vertical blank, the loop always yields at least 1 ms, so it never spins.
inline double secondsAfterPass(const PassPacing& pacing, double endTime, bool swapWaitedForVerticalBlank) {
    const double rest = secondsUntilPass(pacing, endTime);
    if (rest > 0.0 || swapWaitedForVerticalBlank) {
        return rest;
    }
    return 0.001;
}
