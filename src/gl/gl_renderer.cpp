#include "gl/gl_renderer.h"

#include "base/diagnostic_log.h"
#include "gl/gl_context.h"
#include "gl/gl_frame.h"
#include "gl/point_buffer.h"
#include "gl/render_targets.h"
#include "gl/wgl_calls.h"

namespace {

bool openContext(GlRenderer& renderer, const WindowSurface& surface, const Pictures&) {
    return createGlContext(surface.dc, renderer.context, renderer.gl);
}

bool buildPrograms(GlRenderer& renderer, const WindowSurface&, const Pictures&) {
    return buildGlPrograms(renderer.gl, renderer.programs);
}

bool bakePoints(GlRenderer& renderer, const WindowSurface&, const Pictures&) {
    return prepareModelPoints(renderer);
}

// False when the context cannot be made current on the window's dc: the window must then not be
// drawn, as its frame would go to no context, or another window's.
bool makeGlRendererCurrent(const GlRenderer& renderer, const WindowSurface& surface) {
    return wglCalls.makeCurrent(surface.dc, renderer.context) != FALSE;
}

} // namespace

const GlSetupStage glSetupStages[4] = {
    {"window and OpenGL 3.3 context", openContext},
    {"program building (5 programs)", buildPrograms},
    {"target creation and card upload", createGlTargets},
    {"point buffer (the bake)", bakePoints},
};

bool createGlRenderer(GlRenderer& renderer, const WindowSurface& surface, const Pictures& pictures) {
    for (const GlSetupStage& stage : glSetupStages) {
        if (!stage.run(renderer, surface, pictures)) {
            destroyGlRenderer(renderer);
            return false;
        }
    }
    return true;
}

// Through the call table, so that a test can check what was released, and in which order.
void destroyGlRenderer(GlRenderer& renderer) {
    if (renderer.context != nullptr) {
        wglCalls.makeCurrent(nullptr, nullptr);
        wglCalls.deleteContext(renderer.context);
    }
    renderer = GlRenderer();
}

bool drawGlWindow(const GlRenderer& renderer, const WindowSurface& surface, const PassValues& pass) {
    if (!makeGlRendererCurrent(renderer, surface)) {
        return true;
    }
    // Checked every pass: after a GPU reset (a hung GPU, a driver updated overnight) the context's
    // objects are gone and what a draw into it does depends on the driver.
    const auto resetStatus = renderer.gl.glGetGraphicsResetStatusARB;
    if (resetStatus != nullptr && resetStatus() != GL_NO_ERROR) {
        writeLog("GL context lost to a GPU reset");
        return false;
    }
    renderGlFrame(renderer, {surface, pass, 0});
    SwapBuffers(surface.dc);
    return true;
}

bool setGlSwapInterval(const GlRenderer& renderer, const WindowSurface& surface, int interval) {
    if (!makeGlRendererCurrent(renderer, surface) || renderer.gl.wglSwapIntervalEXT == nullptr) {
        return false;
    }
    renderer.gl.wglSwapIntervalEXT(interval);
    return true;
}
