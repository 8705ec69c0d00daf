#include "shell/saver_lifecycle.h"

#include "gl/gl_functions.h"
#include "shell/saver_state.h"
#include "shell/screen_surface.h"

void setUpSwapIntervals() {
    for (ScreenSurface* surface : surfaces) {
        if (!surface->useGl) {
            continue;
        }
        wglMakeCurrent(surface->dc, surface->glContext);
        if (gl.wglSwapIntervalEXT != nullptr) {
            gl.wglSwapIntervalEXT(vsyncOn ? 0 : 1);
            vsyncOn = true;
        }
    }
}

void tearDownSurfaces() {
    for (ScreenSurface* surface : surfaces) {
        if (surface->useGl) {
            // Deleting the context frees every GL object of the window with it.
            wglMakeCurrent(nullptr, nullptr);
            wglDeleteContext(surface->glContext);
        }
        if (surface->dc != nullptr) {
            ReleaseDC(surface->window, surface->dc);
        }
        // The host may already have destroyed a preview child.
        if (surface->window != nullptr && IsWindow(surface->window)) {
            DestroyWindow(surface->window);
        }
        if (surface->staticDc != nullptr) {
            SelectObject(surface->staticDc, surface->staticOldBitmap);
            DeleteDC(surface->staticDc);
        }
        if (surface->backDc != nullptr) {
            SelectObject(surface->backDc, surface->backOldBitmap);
            DeleteDC(surface->backDc);
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
