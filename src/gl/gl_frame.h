#pragma once

#include "gl/gl_renderer.h"
#include "gl/point_ranges.h"

// What one frame of one window is drawn for: the window's size and scale, the pass's shared values,
// and where the frame goes (0 is the window's back buffer; tools and tests render the very same
// passes into a framebuffer of their own).
struct GlFrameInput {
    const WindowSurface& surface;
    const PassValues& pass;
    GLuint outputFramebuffer;
};

// The passes of one frame, in order, on the renderer's current context. Each binds its own
// framebuffer, viewport, vertex array, program and textures, and leaves blending off; the point
// pass relies on program point size, enabled once by the set-up. The frame and the benchmark both
// walk this table.
struct GlFramePass {
    const char* name;
    void (*draw)(const GlRenderer& renderer, const GlFrameInput& frame);
    bool (*drawn)(const GlFrameInput& frame); // null: in every frame
};
enum GlFramePassId { pointsPass, bloomPass, compositePass, cardsPass, glFramePassCount };
extern const GlFramePass glFramePasses[glFramePassCount];

// The whole frame: every pass of the table that this frame draws.
void renderGlFrame(const GlRenderer& renderer, const GlFrameInput& frame);

// The point pass's draws alone: the given vertex ranges of the bound program, the model's through
// its point buffer, the rest from the vertex number alone; leaves the empty vertex array bound.
void drawPoints(const GlRenderer& renderer, const PointRanges& ranges);
