#include "common/offscreen_frame.h"

#include "base/layout.h"
#include "gl/render_targets.h"

#include <algorithm>
#include <cstddef>

namespace {

// The default framebuffer is never drawn to, so the window only needs to exist.
constexpr int hiddenWindowSize = 64;

// A window class of its own with a dc of its own per window, as a pixel format needs.
HWND createHiddenWindow() {
    static const ATOM windowClass = [] {
        WNDCLASSW description = {};
        description.style = CS_OWNDC;
        description.lpfnWndProc = DefWindowProcW;
        description.hInstance = GetModuleHandleW(nullptr);
        description.lpszClassName = L"OrvaneOffscreen";
        return RegisterClassW(&description);
    }();
    return windowClass == 0 ? nullptr
                            : CreateWindowExW(0, L"OrvaneOffscreen", L"Orvane off screen", WS_POPUP, 0, 0,
                                              hiddenWindowSize, hiddenWindowSize, nullptr, nullptr,
                                              GetModuleHandleW(nullptr), nullptr);
}

} // namespace

bool openOffscreenWindow(OffscreenFrame& frame, int width, int height) {
    frame = OffscreenFrame();
    frame.surface = {createHiddenWindow(), nullptr, width, height, layoutScale(width, height)};
    if (frame.surface.window == nullptr) {
        return false;
    }
    frame.surface.dc = GetDC(frame.surface.window);
    return true;
}

bool createOffscreenOutput(OffscreenFrame& frame) {
    const GlFunctions& gl = frame.renderer.gl;
    frame.output = createRenderTarget(gl, frame.surface.width, frame.surface.height, false);
    const bool complete = gl.glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    gl.glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return complete;
}

bool openOffscreenFrame(OffscreenFrame& frame, int width, int height, const Pictures& pictures) {
    if (openOffscreenWindow(frame, width, height) &&
        createGlRenderer(frame.renderer, frame.surface, pictures) && createOffscreenOutput(frame)) {
        return true;
    }
    closeOffscreenFrame(frame);
    return false;
}

void closeOffscreenFrame(OffscreenFrame& frame) {
    destroyGlRenderer(frame.renderer);
    if (frame.surface.dc != nullptr) {
        ReleaseDC(frame.surface.window, frame.surface.dc);
    }
    if (frame.surface.window != nullptr) {
        DestroyWindow(frame.surface.window);
    }
    frame = OffscreenFrame();
}

void renderOffscreenFrame(const OffscreenFrame& frame, const PassValues& pass) {
    renderGlFrame(frame.renderer, {frame.surface, pass, frame.output.framebuffer});
}

std::vector<std::uint8_t> readOffscreenPixels(const OffscreenFrame& frame) {
    const int width = frame.surface.width;
    const int height = frame.surface.height;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
    std::vector<std::uint8_t> bottomUp(rowBytes * static_cast<std::size_t>(height));
    frame.renderer.gl.glBindFramebuffer(GL_FRAMEBUFFER, frame.output.framebuffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    std::vector<std::uint8_t> topDown(bottomUp.size());
    for (int row = 0; row < height; ++row) {
        const auto source = bottomUp.begin() + static_cast<std::ptrdiff_t>(rowBytes) * (height - 1 - row);
        std::copy_n(source, rowBytes, topDown.begin() + static_cast<std::ptrdiff_t>(rowBytes) * row);
    }
    return topDown;
}
