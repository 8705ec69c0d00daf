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

// Runs the bake program once over the model points into the window's point buffer and makes the
// vertex array that feeds it to the points program. False, after logging "point buffer failed",
// when the driver did not record every point.
bool createPointBuffer(GlRenderer& renderer);
