#pragma once

// The saver's point pass on its own: the "points" program drawn additively into an off-screen
// half-float target, as the frame draws it, and the target read back. For tools and tests.

#include "gl/gl_api.h"

#include <vector>

// Every point of the scene: the saver always draws this many vertices.
constexpr int scenePointCount = 217500;

struct PointsTarget {
    GLuint texture = 0;
    GLuint framebuffer = 0;
    int width = 0;
    int height = 0;
};

// A GL_RGBA16F colour target of the given size; false when the driver cannot render to it.
bool createPointsTarget(PointsTarget& target, int width, int height);

// Clears the target to opaque black, then adds vertices first .. first + count - 1 of the program
// with blending GL_ONE, GL_ONE and program point size, with uT = saverTime and uRes = the target
// size. The saver draws first 0 and scenePointCount; a smaller range draws one part of the scene.
void drawPointsPass(const PointsTarget& target, GLuint program, GLuint vertexArray, float saverTime,
                    int first = 0, int count = scenePointCount);

// The target's RGBA values, top row first (rows turned round from GL's bottom-up order).
std::vector<float> readPointsTarget(const PointsTarget& target);
