#include "gl/point_timeline.h"

#include "base/saver_time.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float pi = 3.14159265f;
constexpr float scanCycle = static_cast<float>(sceneCycle);
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

// The camera orbits on absolute time, so it never jumps at a cycle's wrap.
void placeCamera(PointTimeline& timeline, float programTime) {
    const float yaw = 0.55f + programTime * 0.085f;
    const float pitch = 0.30f + 0.08f * std::sin(programTime * 0.11f);
    const float offset[3] = {std::sin(yaw) * std::cos(pitch), std::sin(pitch),
                             std::cos(yaw) * std::cos(pitch)};
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

PointTimeline pointTimeline(float programTime) {
    PointTimeline timeline = {};
    placeCamera(timeline, programTime);
    const float c = programTime - scanCycle * std::floor(programTime / scanCycle); // GLSL's mod
    timeline.cycle = c;
    timeline.scanHeight = mix(-3.9f, 3.3f, std::clamp((c - 1.2f) / 7.0f, 0.0f, 1.0f));
    timeline.scanning = smoothStep(1.0f, 1.6f, c) * (1.0f - smoothStep(8.0f, 8.6f, c));
    timeline.gantryVisible = smoothStep(0.0f, 1.0f, c) * (1.0f - smoothStep(8.6f, 10.2f, c));
    timeline.gantryLift = smoothStep(8.6f, 10.2f, c);
    // The full turn plus the drift wraps by exactly 2 pi, so the gantry never jumps.
    timeline.gantryAngle = 0.35f * pi + 2.0f * pi * smoothStep(1.2f, 8.2f, c) + programTime * 0.05f;
    timeline.dissolve = smoothStep(18.6f, 21.8f, c);
    timeline.sliceHeight = mix(3.0f, -3.7f, smoothStep(10.2f, 17.6f, c));
    timeline.sliceEnvelope = smoothStep(10.0f, 10.8f, c) * (1.0f - smoothStep(17.0f, 17.8f, c));
    timeline.fadeIn = smoothStep(0.0f, 1.5f, programTime);
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
                   {points.fadeIn, timeline.fadeIn}};
    for (const auto& scalar : scalars) {
        gl.glUniform1f(scalar.location, scalar.value);
    }
}
