#include "shell/main_loop.h"

#include "gl/gl_frame.h"
#include "gl/wgl_calls.h"
#include "shell/frame_pacing.h"
#include "shell/saver_clock.h"
#include "shell/saver_state.h"
#include "shell/saver_windows.h"
#include "shell/screen_surface.h"
#include "software/software_renderer.h"

#include <windows.h>

namespace {

// A preview ends as soon as its child or its host is gone, however that happened.
bool previewGone() {
    return previewMode && !surfaces.empty() && !previewStillHosted(surfaces.front()->window, previewHost);
}

// While the display is off the loop waits for messages, but not for good: a preview's host can go
// without a message.
constexpr DWORD displayOffWaitMs = 500;

// Every pending message is handled before the next frame; false once WM_QUIT arrives.
bool pumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            return false;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return true;
}

} // namespace

bool drawPass(double saverTime, double lastSoftwareFrameTime) {
    if (!surfaces.empty()) {
        // One clock value for every window of the pass, so all monitors show the same instant.
        const float time = shaderTime(saverTime);
        const float fade = cardFade(saverTime);
        for (ScreenSurface* surface : surfaces) {
            // Without its context current the window's frame would go to no context (or another one).
            if (surface->useGl && wglCalls.makeCurrent(surface->dc, surface->glContext)) {
                drawGlFrame(*surface, time, fade);
            }
        }
    }
    const bool due = softwareFrameDue(saverTime, lastSoftwareFrameTime);
    if (due) {
        for (ScreenSurface* surface : surfaces) {
            if (!surface->useGl && surface->backDc != nullptr) {
                drawSoftwareFrame(*surface, saverTime);
            }
        }
    }
    return due;
}

void runMainLoop() {
    double lastSoftwareFrameTime = -1.0;
    while (pumpMessages() && !previewGone()) {
        if (displayOff) {
            // Nothing is seen: wait for the next message (input ends the saver, the display coming
            // back resumes drawing at the current saver time) instead of drawing.
            MsgWaitForMultipleObjectsEx(0, nullptr, displayOffWaitMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            continue;
        }
        const double passTime = readSaverClock();
        const bool due = drawPass(passTime, lastSoftwareFrameTime);
        const int sleepMs = passSleepMilliseconds(passTime, readSaverClock(), vsyncOn);
        if (sleepMs > 0) {
            Sleep(static_cast<DWORD>(sleepMs));
        }
        if (due) {
            lastSoftwareFrameTime = passTime;
        }
    }
}
