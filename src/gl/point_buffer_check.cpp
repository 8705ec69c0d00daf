#include "gl/point_buffer_check.h"

#include "gl/point_buffer.h"

#include <cmath>
#include <cstdint>

namespace {

constexpr int recordFloats = 13;           // position and intensity, normal, colour, dissolve offset
constexpr int upperJawFirstPoint = 142800; // O2 in points_framework.glsl
// GLSL leaves the precision of sin and cos to the driver; a misplaced point is off by far more.
constexpr double recordTolerance = 2e-3;

// The points programs' hash and per-point random numbers (points_framework.glsl), bit for bit.
std::uint32_t pointHash(std::uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352du;
    x ^= x >> 15;
    x *= 0x846ca68bu;
    x ^= x >> 16;
    return x;
}

double pointRandom(int id, int key) {
    const std::uint32_t a = static_cast<std::uint32_t>(id) * 0x9E3779B9u;
    const std::uint32_t b = pointHash(static_cast<std::uint32_t>(key) + 0x632BE5ABu);
    return static_cast<double>(pointHash(a ^ b) & 0x00FFFFFFu) / 16777216.0;
}

// The bake's record of an upper-jaw point when it lies on the palate (maxillaPoint and modelPoint
// in points_anatomy.glsl): position and intensity, normal, colour, dissolve offset. False for a
// point of the jaw's ridge.
bool palateRecord(int id, double record[recordFloats]) {
    if (pointRandom(id, 21) < 0.66) {
        return false;
    }
    const double phi = -1.45 + 2.9 * pointRandom(id, 22);
    const double reach = std::sqrt(pointRandom(id, 23)) * 0.86;
    const double position[3] = {3.05 * std::sin(phi) * reach, 1.20 + 0.95 * (1.0 - reach * reach),
                                -2.30 + 4.30 * std::cos(phi) * reach};
    double away[3];
    for (int axis = 0; axis < 3; ++axis) {
        away[axis] = position[axis] + (axis == 1 ? 0.3 : 0.0) + (pointRandom(id, 81 + axis) - 0.5) * 2.0;
    }
    const double travel = (2.0 + 4.0 * pointRandom(id, 84)) / std::hypot(away[0], away[1], away[2]);
    const double values[recordFloats] = {
        position[0],      position[1],      position[2],     0.55, 0.0, 1.0, 0.0, 0.45, 0.64, 0.98,
        away[0] * travel, away[1] * travel, away[2] * travel};
    for (int value = 0; value < recordFloats; ++value) {
        record[value] = values[value];
    }
    return true;
}

} // namespace

bool pointBufferHoldsTheModel(const GlFunctions& gl) {
    // The palate is the generators' simplest part: its first point after each of four places
    // spread over the upper jaw shows whether every output was recorded in its place, for its point.
    for (int from = upperJawFirstPoint; from < modelPointCount; from += 7500) {
        double expected[recordFloats];
        int id = from;
        while (!palateRecord(id, expected)) {
            ++id; // a third of the upper jaw's points are the palate's: a few steps at most
        }
        float recorded[recordFloats] = {}; // stays zero where the driver cannot read the buffer
        gl.glGetBufferSubData(GL_ARRAY_BUFFER, static_cast<GLintptr>(id) * pointBufferStride, sizeof recorded,
                              recorded);
        for (int value = 0; value < recordFloats; ++value) {
            // Written so that a NaN fails too.
            if (!(std::fabs(recorded[value] - expected[value]) <= recordTolerance)) {
                return false;
            }
        }
    }
    return true;
}
