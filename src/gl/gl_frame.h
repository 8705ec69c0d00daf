#pragma once

#include "gl/gl_api.h"

struct ScreenSurface;

// The passes of one frame, in order, on the window's current context. Each pass sets every binding
// it depends on; blending is off between passes.
void drawPointPass(const ScreenSurface& surface, float saverTime);
void drawBloomPasses(const ScreenSurface& surface);
void drawCompositePass(const ScreenSurface& surface, float saverTime, GLuint outputFramebuffer);
void drawCardPass(const ScreenSurface& surface, float cardFade);

// The whole frame into outputFramebuffer: 0 is the window's back buffer; tools and tests render the
// very same passes into a framebuffer of their own.
void renderGlFrame(const ScreenSurface& surface, float saverTime, float cardFade, GLuint outputFramebuffer);

// One frame of a GL window, presented with SwapBuffers.
void drawGlFrame(ScreenSurface& surface, float saverTime, float cardFade);
