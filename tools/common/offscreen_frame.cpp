#include "common/offscreen_frame.h"

#include "gl/gl_context.h"
#include "gl/gl_functions.h"
#include "gl/layout.h"
#include "gl/point_buffer.h"
#include "gl/program_builder.h"
#include "gl/render_targets.h"
#include "shell/saver_windows.h"

#include <algorithm>
#include <cstddef>

namespace {

// The default framebuffer is never drawn to, so the window only needs to exist.
constexpr int hiddenWindowSize = 64;

} // namespace

HWND createSaverClassWindow(int width, int height, bool visible) {
    static bool registered = false;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!registered) {
        registerSaverClass(instance);
        registered = true;
    }
    const DWORD style = WS_POPUP | (visible ? WS_VISIBLE : 0);
    return CreateWindowExW(0, saverClassName, L"Orvane off screen", style, 0, 0, width, height, nullptr,
                           nullptr, instance, nullptr);
}

void closeSurfaceWindow(ScreenSurface& surface) {
    releaseGlContext(surface);
    if (surface.dc != nullptr) {
        ReleaseDC(surface.window, surface.dc);
    }
    if (surface.window != nullptr) {
        DestroyWindow(surface.window);
    }
    surface = ScreenSurface();
}

bool openOffscreenContext(OffscreenFrame& frame, int width, int height) {
    frame = OffscreenFrame();
    ScreenSurface& surface = frame.surface;
    // The window's own set-up reads only these three fields; targets and cards follow them.
    surface.width = width;
    surface.height = height;
    surface.scale = layoutScale(width, height);
    surface.window = createSaverClassWindow(hiddenWindowSize, hiddenWindowSize);
    if (surface.window == nullptr) {
        return false;
    }
    surface.dc = GetDC(surface.window);
    return createGlContext(surface);
}

bool buildOffscreenPrograms(OffscreenFrame& frame) {
    return buildSurfacePrograms(frame.surface);
}

bool createOffscreenTargets(OffscreenFrame& frame) {
    if (!createGlResources(frame.surface) || !createPointBuffer(frame.surface)) {
        return false;
    }
    frame.outputTexture =
        createRenderTarget(frame.surface.width, frame.surface.height, false, frame.outputFramebuffer);
    const bool complete = gl.glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    gl.glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return complete;
}

bool openOffscreenFrame(OffscreenFrame& frame, int width, int height) {
    if (openOffscreenContext(frame, width, height) && buildOffscreenPrograms(frame) &&
        createOffscreenTargets(frame)) {
        return true;
    }
    closeOffscreenFrame(frame);
    return false;
}

void closeOffscreenFrame(OffscreenFrame& frame) {
    closeSurfaceWindow(frame.surface);
    frame = OffscreenFrame();
}

std::vector<std::uint8_t> readOffscreenPixels(const OffscreenFrame& frame) {
    const int width = frame.surface.width;
    const int height = frame.surface.height;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
    std::vector<std::uint8_t> bottomUp(rowBytes * static_cast<std::size_t>(height));
    gl.glBindFramebuffer(GL_FRAMEBUFFER, frame.outputFramebuffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    std::vector<std::uint8_t> topDown(bottomUp.size());
    for (int row = 0; row < height; ++row) {
        const auto source = bottomUp.begin() + static_cast<std::ptrdiff_t>(rowBytes) * (height - 1 - row);
        std::copy_n(source, rowBytes, topDown.begin() + static_cast<std::ptrdiff_t>(rowBytes) * row);
    }
    return topDown;
}
