#pragma once

#include "assets/pictures.h"
#include "base/cards.h"
#include "base/saver_time.h"
#include "base/window_surface.h"
#include "gl/gl_functions.h"
#include "gl/gl_programs.h"

// The GL renderer of one window: its OpenGL 3.3 core context, that context's own entry points,
// the programs, the off-screen targets, the card textures and the point buffer. Every GL object
// belongs to the context and goes with it.

// One colour texture and the framebuffer that has it as its only attachment.
struct RenderTarget {
    GLuint texture = 0;
    GLuint framebuffer = 0;
    int width = 0;
    int height = 0;
};

// One overlay card texture; texture 0 means the card is not drawn.
struct OverlayCard {
    GLuint texture = 0;
    int width = 0;
    int height = 0;
};

struct GlRenderer {
    HGLRC context = nullptr;
    GlFunctions gl;
    GlPrograms programs;
    GLuint emptyVao = 0; // every draw builds its geometry from gl_VertexID, but needs a vertex array
    RenderTarget scene;  // the points, drawn additively
    RenderTarget bloomA; // the two quarter-size blur targets
    RenderTarget bloomB;
    OverlayCard cards[cardCount];
    GLuint pointBuffer = 0; // the model points' baked part, read through modelVao
    GLuint modelVao = 0;    // the empty vertex array where the model is generated per vertex
};

// The set-up in its stages, in order; each writes its log line when it fails. The benchmark times
// them one by one through this table.
struct GlSetupStage {
    const char* name;
    bool (*run)(GlRenderer& renderer, const WindowSurface& surface, const Pictures& pictures);
};
extern const GlSetupStage glSetupStages[4];

// The whole set-up on the window's dc; on success the renderer's context is current. On failure
// its log line is written and everything made so far is released through destroyGlRenderer.
bool createGlRenderer(GlRenderer& renderer, const WindowSurface& surface, const Pictures& pictures);

// Makes nothing current and deletes the context, if there is one (its GL objects go with it), and
// clears the record.
void destroyGlRenderer(GlRenderer& renderer);

// One frame of a GL window at this pass, presented with SwapBuffers; nothing when its context
// cannot be made current. False, with nothing drawn and a log line, when the driver reports the
// context lost to a GPU reset: the window then needs its renderer made anew.
bool drawGlWindow(const GlRenderer& renderer, const WindowSurface& surface, const PassValues& pass);

// Sets the window's swap interval; false when its context cannot be made current or the driver
// has no wglSwapIntervalEXT.
bool setGlSwapInterval(const GlRenderer& renderer, const WindowSurface& surface, int interval);
