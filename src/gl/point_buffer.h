#pragma once

#include "gl/gl_renderer.h"

// The point cloud's layout by vertex number: the model (teeth, lower and upper jaw) comes first,
// then the gantry (ring, arms, source, detector), the beam, and the floor and dust.
constexpr GLsizei modelPointCount = 172800;
constexpr GLsizei gantryPointEnd = 182400;
constexpr GLsizei beamPointEnd = 204400;
constexpr GLsizei scenePointCount = 217500;

// What the bake records per model point, in the points program's attribute order: position and
// intensity, unit normal (or zero), colour, and the dissolve's offset at full strength.
inline constexpr const char* pointBufferOutputs[] = {"bPosition", "bNormal", "bColour", "bScatter"};
constexpr GLsizei pointBufferOutputCount = 4;
constexpr GLsizei pointBufferStride = 13 * sizeof(float);

// Gives the points program the model's points: the bake program records them once into the
// window's point buffer, read through modelVao. When the bake fails (its program did not build, or
// the driver recorded too few points or wrong ones), the window keeps its picture: the points
// program is built again to generate the model per vertex, and one line "point buffer failed
// (<what>), model generated per vertex" is logged. False only when that build fails too (the
// program builder logs why).
bool prepareModelPoints(GlRenderer& renderer);

// The points program that generates the model itself, in place of the one reading the point
// buffer (which it deletes); the model is then drawn through the empty vertex array. False, with
// nothing changed, when it does not build.
bool generateModelPerVertex(GlRenderer& renderer);
