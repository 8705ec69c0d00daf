#include "shell/saver_lifecycle.h"

#include "gl/gl_functions.h"
#include "gl/wgl_calls.h"
#include "shell/saver_state.h"
#include "shell/screen_surface.h"
#include "software/software_gdi.h"

void setUpSwapIntervals() {
    for (ScreenSurface* surface : surfaces) {
        if (!surface->useGl) {
            continue;
        }
        // Without its context current the call would set another window's interval, or none.
        if (!wglCalls.makeCurrent(surface->dc, surface->glContext)) {
            continue;
        }
        if (gl.wglSwapIntervalEXT != nullptr) {
            gl.wglSwapIntervalEXT(vsyncOn ? 0 : 1);
            vsyncOn = true;
        }
    }
}

// The releases go through the call tables so that a test can check what was released, and in
// which order.
void tearDownSurfaces() {
    for (ScreenSurface* surface : surfaces) {
        if (surface->useGl) {
            // Deleting the context frees every GL object of the window with it.
            wglCalls.makeCurrent(nullptr, nullptr);
            wglCalls.deleteContext(surface->glContext);
        }
        if (surface->dc != nullptr) {
            softwareGdi.releaseDc(surface->window, surface->dc);
        }
        if (surface->displayNotification != nullptr) {
            UnregisterPowerSettingNotification(surface->displayNotification);
        }
        // The host may already have destroyed a preview child.
        if (surface->window != nullptr && IsWindow(surface->window)) {
            DestroyWindow(surface->window);
        }
        if (surface->staticDc != nullptr) {
            softwareGdi.selectObject(surface->staticDc, surface->staticOldBitmap);
            softwareGdi.deleteDc(surface->staticDc);
        }
        if (surface->backDc != nullptr) {
            softwareGdi.selectObject(surface->backDc, surface->backOldBitmap);
            softwareGdi.deleteDc(surface->backDc);
        }
        if (surface->staticBitmap != nullptr) {
            DeleteObject(surface->staticBitmap);
        }
        if (surface->backBitmap != nullptr) {
            DeleteObject(surface->backBitmap);
        }
        delete surface;
    }
    surfaces.clear();
}
