#include "gl/point_timeline.h"

#include "base/saver_time.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float pi = 3.14159265f;
constexpr double fullTurn = 6.283185307179586;
constexpr float cameraTarget[3] = {0.0f, -0.25f, 0.0f};
constexpr float orbitRadius = 21.0f;
constexpr float gantryCentre[3] = {0.0f, 0.0f, -0.25f};

float smoothStep(float edge0, float edge1, float x) {
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

float mix(float from, float to, float amount) {
    return from + (to - from) * amount;
}

void normalise(float v[3]) {
    const float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    for (int axis = 0; axis < 3; ++axis) {
        v[axis] /= length;
    }
}

void cross(const float a[3], const float b[3], float result[3]) {
    result[0] = a[1] * b[2] - a[2] * b[1];
    result[1] = a[2] * b[0] - a[0] * b[2];
    result[2] = a[0] * b[1] - a[1] * b[0];
}

// phase + rate * saverTime as an angle of at most one turn, in double precision: a float holds it
// to a millionth of a radian however long the saver runs.
double turnAngle(double phase, double rate, double saverTime) {
    return std::fmod(phase + rate * saverTime, fullTurn);
}

// The camera orbits on absolute time, so it never jumps at a cycle's end.
void placeCamera(PointTimeline& timeline, double saverTime) {
    const double yaw = turnAngle(0.55, 0.085, saverTime);
    const double pitch = 0.30 + 0.08 * std::sin(turnAngle(0.0, 0.11, saverTime));
    const float offset[3] = {static_cast<float>(std::sin(yaw) * std::cos(pitch)),
                             static_cast<float>(std::sin(pitch)),
                             static_cast<float>(std::cos(yaw) * std::cos(pitch))};
    const float worldUp[3] = {0.0f, 1.0f, 0.0f};
    for (int axis = 0; axis < 3; ++axis) {
        timeline.eye[axis] = cameraTarget[axis] + orbitRadius * offset[axis];
        timeline.forward[axis] = cameraTarget[axis] - timeline.eye[axis];
    }
    normalise(timeline.forward);
    cross(timeline.forward, worldUp, timeline.right);
    normalise(timeline.right);
    cross(timeline.right, timeline.forward, timeline.up);
}

// Source and detector face each other across the gantry's axis, with the model between them.
void placeGantry(PointTimeline& timeline) {
    const float direction[3] = {std::cos(timeline.gantryAngle), 0.0f, std::sin(timeline.gantryAngle)};
    const float height = -0.35f + timeline.gantryLift * 2.6f;
    for (int axis = 0; axis < 3; ++axis) {
        const float lift = axis == 1 ? height : 0.0f;
        timeline.source[axis] = gantryCentre[axis] + direction[axis] * 3.9f + lift;
        timeline.detector[axis] = gantryCentre[axis] - direction[axis] * 3.3f + lift;
    }
    timeline.panelAcross[0] = -std::sin(timeline.gantryAngle);
    timeline.panelAcross[1] = 0.0f;
    timeline.panelAcross[2] = std::cos(timeline.gantryAngle);
}

void setVector(const GlFunctions& gl, GLint location, const float v[3]) {
    gl.glUniform3f(location, v[0], v[1], v[2]);
}

} // namespace

PointTimeline pointTimeline(double saverTime) {
    PointTimeline timeline = {};
    placeCamera(timeline, saverTime);
    const float c = static_cast<float>(std::fmod(saverTime, sceneCycle));
    timeline.cycle = c;
    timeline.scanHeight = mix(-3.9f, 3.3f, std::clamp((c - 1.2f) / 7.0f, 0.0f, 1.0f));
    timeline.scanning = smoothStep(1.0f, 1.6f, c) * (1.0f - smoothStep(8.0f, 8.6f, c));
    timeline.gantryVisible = smoothStep(0.0f, 1.0f, c) * (1.0f - smoothStep(8.6f, 10.2f, c));
    timeline.gantryLift = smoothStep(8.6f, 10.2f, c);
    // The scan's full turn falls back by exactly 2 pi at the cycle's end, and the drift follows
    // the absolute time: the gantry never jumps.
    timeline.gantryAngle = 0.35f * pi + 2.0f * pi * smoothStep(1.2f, 8.2f, c) +
                           static_cast<float>(turnAngle(0.0, 0.05, saverTime));
    timeline.dissolve = smoothStep(18.6f, 21.8f, c);
    timeline.sliceHeight = mix(3.0f, -3.7f, smoothStep(10.2f, 17.6f, c));
    timeline.sliceEnvelope = smoothStep(10.0f, 10.8f, c) * (1.0f - smoothStep(17.0f, 17.8f, c));
    timeline.fadeIn = smoothStep(0.0f, 1.5f, static_cast<float>(saverTime));
    timeline.floorSpin = static_cast<float>(turnAngle(0.0, 0.02, saverTime));
    timeline.dustSway = static_cast<float>(turnAngle(0.0, 0.2, saverTime));
    placeGantry(timeline);
    return timeline;
}

void setPointUniforms(const GlFunctions& gl, const PointsProgram& points, const PointTimeline& timeline,
                      float programTime, int targetWidth, int targetHeight) {
    gl.glUniform1f(points.time, programTime);
    gl.glUniform2f(points.resolution, static_cast<float>(targetWidth), static_cast<float>(targetHeight));
    setVector(gl, points.eye, timeline.eye);
    setVector(gl, points.forward, timeline.forward);
    setVector(gl, points.right, timeline.right);
    setVector(gl, points.up, timeline.up);
    setVector(gl, points.source, timeline.source);
    setVector(gl, points.detector, timeline.detector);
    setVector(gl, points.panelAcross, timeline.panelAcross);
    const struct {
        GLint location;
        float value;
    } scalars[] = {{points.cycle, timeline.cycle},
                   {points.scanHeight, timeline.scanHeight},
                   {points.scanning, timeline.scanning},
                   {points.gantryVisible, timeline.gantryVisible},
                   {points.gantryLift, timeline.gantryLift},
                   {points.gantryAngle, timeline.gantryAngle},
                   {points.dissolve, timeline.dissolve},
                   {points.sliceHeight, timeline.sliceHeight},
                   {points.sliceEnvelope, timeline.sliceEnvelope},
                   {points.fadeIn, timeline.fadeIn},
                   {points.floorSpin, timeline.floorSpin},
                   {points.dustSway, timeline.dustSway}};
    for (const auto& scalar : scalars) {
        gl.glUniform1f(scalar.location, scalar.value);
    }
}
