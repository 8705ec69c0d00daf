// The frame's timeline (camera, scan, gantry, slice, dissolve, fades, the floor's and the dust's
// turns) over the whole cycle and across the program time's wraps.

#include "gl/point_timeline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <bit>
#include <numbers>

namespace {

constexpr int timelineValues = sizeof(PointTimeline) / sizeof(float);

double rise(double from, double to, double t) {
    const double x = std::clamp((t - from) / (to - from), 0.0, 1.0);
    return x * x * (3.0 - 2.0 * x);
}

// The timeline as the design states it, in PointTimeline's order, in double precision from the
// unwrapped saver time: each fade a smoothstep (3x^2 - 2x^3) between its edges, the scan front
// linear, every absolute-time angle its rate times the saver time, the camera's basis in closed
// form (the eye 21 units out at the yaw and pitch, right level, up the rest).
std::array<double, timelineValues> designTimeline(double t) {
    const double c = std::fmod(t, 22.0), yaw = 0.55 + 0.085 * t, pitch = 0.30 + 0.08 * std::sin(0.11 * t);
    const double sy = std::sin(yaw), cy = std::cos(yaw), sp = std::sin(pitch), cp = std::cos(pitch);
    const double angle = 0.35 * std::numbers::pi + 2.0 * std::numbers::pi * rise(1.2, 8.2, c) + 0.05 * t;
    const double lift = rise(8.6, 10.2, c), height = -0.35 + 2.6 * lift, ca = std::cos(angle);
    const double sa = std::sin(angle);
    return {// eye, forward, right, up
            21 * sy * cp, -0.25 + 21 * sp, 21 * cy * cp, -sy * cp, -sp, -cy * cp, cy, 0, -sy, -sy * sp, cp,
            -cy * sp,
            // cycle, scan front, scanning, gantry visible, lift and angle, dissolve, slice, its fade, fade-in
            c, -3.9 + 7.2 * std::clamp((c - 1.2) / 7.0, 0.0, 1.0),
            rise(1.0, 1.6, c) * (1 - rise(8.0, 8.6, c)), rise(0.0, 1.0, c) * (1 - rise(8.6, 10.2, c)), lift,
            angle, rise(18.6, 21.8, c), 3.0 - 6.7 * rise(10.2, 17.6, c),
            rise(10.0, 10.8, c) * (1 - rise(17.0, 17.8, c)), rise(0.0, 1.5, t),
            // source, detector, along the panel, the floor's and the dust's turns
            3.9 * ca, height, -0.25 + 3.9 * sa, -3.3 * ca, height, -0.25 - 3.3 * sa, -sa, 0, ca, 0.02 * t,
            0.2 * t};
}

// Every edge of every curve and the midpoints between them, 1/120 s into and before the cycle, in
// the first two cycles, on both sides of the program time's first and second wraps (31,438 s and
// 62,854 s) and a month on. Angles compare modulo a turn, so a wrap that is a whole number of
// cycles but not of turns fails as a jump would.
TEST(PointTimeline, FollowsTheDesignOverEveryEdgeAndAcrossTheWraps) {
    const double edges[] = {0,    1.0,  1.2,  1.6,  8.0,  8.2,  8.6,  10.0,
                            10.2, 10.8, 17.0, 17.6, 17.8, 18.6, 21.8, 22};
    for (double cycle : {0.0, 1.0, 1428.0, 1429.0, 2856.0, 2857.0, 117818.0}) {
        for (std::size_t edge = 0; edge < std::size(edges) - 1; ++edge) {
            const double from = edges[edge], to = edges[edge + 1];
            for (double at : {from, (from + to) / 2, from + 1.0 / 120, to - 1.0 / 120}) {
                const double t = cycle * 22 + at;
                const auto actual = std::bit_cast<std::array<float, timelineValues>>(pointTimeline(t));
                const auto expected = designTimeline(t);
                for (int value = 0; value < timelineValues; ++value) {
                    const double off = std::remainder(actual[value] - expected[value], 2 * std::numbers::pi);
                    EXPECT_NEAR(off, 0.0, 1e-4) << "value " << value << " at " << t << " s";
                }
            }
        }
    }
}

} // namespace
