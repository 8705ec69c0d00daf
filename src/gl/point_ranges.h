#pragma once

#include "gl/point_buffer.h"
#include "gl/point_timeline.h"

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

// The ranges that can add light at this frame's timeline: a range whose every point has zero
// colour adds nothing to the target, so leaving it out keeps the picture. The decision reads the
// very factors the points program multiplies by: the model is dark once its dissolve is complete,
// the gantry while its visibility is zero, the beam while scanning times visibility is zero.
inline PointRanges litPointRanges(const PointTimeline& timeline) {
    PointRanges list;
    if (timeline.dissolve < 1.0f) {
        appendPointRange(list, 0, modelPointCount);
    }
    if (timeline.gantryVisible > 0.0f) {
        appendPointRange(list, modelPointCount, gantryPointEnd);
    }
    if (timeline.scanning > 0.0f && timeline.gantryVisible > 0.0f) {
        appendPointRange(list, gantryPointEnd, beamPointEnd);
    }
    appendPointRange(list, beamPointEnd, scenePointCount);
    return list;
}
