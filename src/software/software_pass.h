#pragma once

#include <cmath>
#include <cstdint>

// Everything of a software frame that depends on the saver time alone. It is computed once per pass,
// so every software window of the pass shows the same instant whatever its size.
struct SoftwarePassValues {
    double fade = 0.0;              // the arcs' fade-in: 0 at start, 1 from 1.5 s on
    std::uint8_t arcAlpha[3] = {};  // A1, A2, A3
    std::uint8_t glowAlpha[3] = {}; // alpha of each arc's glow dot
    double leadAngle[3] = {};       // degrees; GDI+ angles grow clockwise on screen
};

constexpr double arcFadeSeconds = 1.5;

// The wide glow dot around an arc's lead is a sixth as opaque as the arc itself.
constexpr std::uint8_t glowDotAlpha(std::uint8_t arcAlpha) {
    return static_cast<std::uint8_t>(arcAlpha / 6);
}

inline SoftwarePassValues softwarePassValues(double saverTime) {
    SoftwarePassValues values;
    // The saver clock never runs backwards from zero; the guard keeps the alphas in range regardless.
    values.fade = saverTime < arcFadeSeconds ? (saverTime > 0.0 ? saverTime / arcFadeSeconds : 0.0) : 1.0;
    const double fullAlpha[3] = {210.0, 150.0, 80.0};
    for (int arc = 0; arc < 3; ++arc) {
        // Truncated toward zero, not rounded.
        values.arcAlpha[arc] = static_cast<std::uint8_t>(fullAlpha[arc] * values.fade);
        values.glowAlpha[arc] = glowDotAlpha(values.arcAlpha[arc]);
    }
    // Arc 1 turns clockwise once in 16 s from the top, arc 2 anticlockwise once in 28 s from 140°,
    // arc 3 clockwise once in 46 s from 20°. The angles come from the time within each arc's own
    // turn (fmod is exact), so they stay below a turn and keep their precision after a week.
    values.leadAngle[0] = 360.0 * std::fmod(saverTime, 16.0) * 0.0625 - 90.0;
    values.leadAngle[1] = 140.0 - 360.0 * std::fmod(saverTime, 28.0) / 28.0;
    values.leadAngle[2] = 20.0 + 360.0 * std::fmod(saverTime, 46.0) / 46.0;
    return values;
}
