#pragma once

// The saver's times and the arithmetic of its main loop, free of the platform so that they can be
// checked directly. Two times run through the saver: the saver time, seconds since start in double
// precision, and the program time, what the GL programs see (uT), in single precision and wrapped
// back after hours.

#include <cmath>

constexpr double softwareFrameInterval = 1.0 / 30.0;
constexpr double passPeriod = 1.0 / 60.0;
constexpr float cardFadeOffset = 0.4f;
constexpr float cardFadeLength = 1.4f;
constexpr double sceneCycle = 22.0;
// 1,428 cycles of 22 s. The motions that follow the absolute time (camera, gantry, floor, the dust's
// sway) take their angles from the saver time itself (gl/point_timeline), so the wrap moves them
// not at all; only what each dust mote does at its own speed reshuffles once.
constexpr double programTimePeriod = 31416.0;

// Opacity of the overlay cards: 0 until 0.4 s after start, then rising linearly to 1 at 1.8 s.
inline float cardFade(double saverTime) {
    const float fade = (static_cast<float>(saverTime) - cardFadeOffset) / cardFadeLength;
    if (fade < 0.0f) {
        return 0.0f;
    }
    return fade > 1.0f ? 1.0f : fade;
}

// The program time (uT). A float holds the saver time to a millisecond for the first hours only;
// after one period the time is wrapped back by whole periods, on a cycle boundary and never below
// one cycle, so frames stay 1/60 s apart after a week and the one-time fade-ins never replay.
inline float programTime(double saverTime) {
    if (saverTime < sceneCycle + programTimePeriod) {
        return static_cast<float>(saverTime);
    }
    return static_cast<float>(sceneCycle + std::fmod(saverTime - sceneCycle, programTimePeriod));
}

// What every window of one pass shares, worked out once per pass so that all monitors show the
// same instant.
struct PassValues {
    double saverTime = 0.0; // for what is worked out on the processor, in double precision
    float programTime = 0.0f;
    float cardFade = 0.0f;
    bool showCards = false; // full screen only; the preview shows the scene alone
};

inline PassValues passValues(double saverTime, bool preview) {
    return {saverTime, programTime(saverTime), cardFade(saverTime), !preview};
}
