#pragma once

#include "gl/point_buffer.h"
#include "shell/frame_pacing.h"

#include <cmath>

// Vertex ranges of the point cloud, drawn one after the other.
struct PointRange {
    GLsizei first = 0;
    GLsizei count = 0;
};

struct PointRanges {
    PointRange ranges[3];
    int count = 0;
};

// Appends [first, end), joining it to the last range when they touch; the model range is never
// joined, as it is drawn through its own vertex array.
inline void appendPointRange(PointRanges& list, GLsizei first, GLsizei end) {
    PointRange* last = list.count > 0 ? &list.ranges[list.count - 1] : nullptr;
    if (last != nullptr && last->first + last->count == first && first != modelPointCount) {
        last->count += end - first;
        return;
    }
    list.ranges[list.count++] = {first, end - first};
}

inline PointRanges allPointRanges() {
    PointRanges list;
    appendPointRange(list, 0, modelPointCount);
    appendPointRange(list, modelPointCount, scenePointCount);
    return list;
}

// The ranges that can add light at the points program's time: a range whose every point has zero
// colour then adds nothing to the target, so leaving it out keeps the picture. Dark are the model
// after its dissolve (21.8 s into the cycle), the gantry between its fade-out (10.2 s) and the
// cycle's end, and the beam outside the scan (1.0 s to 8.6 s). The 10 ms margins cover the
// program's single-precision cycle time, a few steps of 2 ms at most within the shader clock's
// period.
inline PointRanges litPointRanges(float shaderTime) {
    const double cycle = std::fmod(static_cast<double>(shaderTime), sceneCycle);
    constexpr double margin = 0.01;
    const bool modelLit = cycle < 21.8 + margin || cycle > sceneCycle - margin;
    const bool gantryLit = cycle < 10.2 + margin || cycle > sceneCycle - margin;
    const bool beamLit = cycle > 1.0 - margin && cycle < 8.6 + margin;
    PointRanges list;
    if (modelLit) {
        appendPointRange(list, 0, modelPointCount);
    }
    if (gantryLit) {
        appendPointRange(list, modelPointCount, gantryPointEnd);
    }
    if (beamLit) {
        appendPointRange(list, gantryPointEnd, beamPointEnd);
    }
    appendPointRange(list, beamPointEnd, scenePointCount);
    return list;
}
