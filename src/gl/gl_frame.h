#pragma once

#include "gl/gl_api.h"

struct ScreenSurface;
struct PointRanges;

// The passes of one frame, in order, on the window's current context. Each pass binds its own
// program, textures and uniforms, and leaves blending off; the blur and composite passes rely on
// that. What else a pass takes from before it:
// - the blur and composite passes draw through the empty vertex array and rely on it being bound
//   already (the point pass leaves it so, as does the set-up);
// - the point, blur and composite passes bind their framebuffers and set their viewports; the card
//   pass draws into whatever is bound, the composite's output and viewport;
// - the point pass relies on program point size, enabled once by the set-up.
void drawPointPass(const ScreenSurface& surface, float saverTime);
// The point pass's draws alone: the given vertex ranges of the bound program, the model's through
// its point buffer, the rest from the vertex number alone; leaves the empty vertex array bound.
void drawPoints(const ScreenSurface& surface, const PointRanges& ranges);
void drawBloomPasses(const ScreenSurface& surface);
void drawCompositePass(const ScreenSurface& surface, float saverTime, GLuint outputFramebuffer);
void drawCardPass(const ScreenSurface& surface, float cardFade);

// The whole frame into outputFramebuffer: 0 is the window's back buffer; tools and tests render the
// very same passes into a framebuffer of their own.
void renderGlFrame(const ScreenSurface& surface, float saverTime, float cardFade, GLuint outputFramebuffer);

// One frame of a GL window, presented with SwapBuffers.
void drawGlFrame(ScreenSurface& surface, float saverTime, float cardFade);
