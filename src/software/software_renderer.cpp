#include "software/software_renderer.h"

#include "shell/screen_surface.h"
#include "software/software_gdi.h"
#include "software/static_frame.h"

namespace {

// Both bitmaps: 32 bits per pixel, rows top-down (negative height), no compression.
BITMAPINFO frameBitmapInfo(int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

bool selected(HGDIOBJ previous) {
    return previous != nullptr && previous != HGDI_ERROR;
}

// Undoes a set-up that did not get all of its device contexts and bitmaps: nothing leaks, and with
// backDc null the main loop never draws the window.
void releaseIncompleteSetUp(ScreenSurface& surface) {
    if (surface.staticDc != nullptr) {
        if (surface.staticOldBitmap != nullptr) {
            softwareGdi.selectObject(surface.staticDc, surface.staticOldBitmap);
        }
        softwareGdi.deleteDc(surface.staticDc);
    }
    if (surface.backDc != nullptr) {
        if (surface.backOldBitmap != nullptr) {
            softwareGdi.selectObject(surface.backDc, surface.backOldBitmap);
        }
        softwareGdi.deleteDc(surface.backDc);
    }
    if (surface.staticBitmap != nullptr) {
        DeleteObject(surface.staticBitmap);
    }
    if (surface.backBitmap != nullptr) {
        DeleteObject(surface.backBitmap);
    }
    surface.staticDc = nullptr;
    surface.backDc = nullptr;
    surface.staticBitmap = nullptr;
    surface.backBitmap = nullptr;
    surface.staticOldBitmap = nullptr;
    surface.backOldBitmap = nullptr;
}

// Selects a bitmap and keeps what was selected before; false when the selection failed.
bool selectBitmap(HDC dc, HBITMAP bitmap, HGDIOBJ& previous) {
    const HGDIOBJ old = softwareGdi.selectObject(dc, bitmap);
    if (!selected(old)) {
        return false;
    }
    previous = old;
    return true;
}

} // namespace

void initSoftwareSurface(ScreenSurface& surface) {
    surface.useGl = false;
    HDC windowDc = softwareGdi.getDc(surface.window);
    surface.staticDc = softwareGdi.createCompatibleDc(windowDc);
    surface.backDc = softwareGdi.createCompatibleDc(windowDc);
    // The pixel memory belongs to the sections; its address is not needed.
    const BITMAPINFO info = frameBitmapInfo(surface.width, surface.height);
    void* pixels = nullptr;
    surface.staticBitmap = softwareGdi.createDibSection(windowDc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    surface.backBitmap = softwareGdi.createDibSection(windowDc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);

    // A zero-sized window or an exhausted GDI gives null handles here.
    bool complete = surface.staticDc != nullptr && surface.backDc != nullptr &&
                    surface.staticBitmap != nullptr && surface.backBitmap != nullptr;
    complete = complete && selectBitmap(surface.staticDc, surface.staticBitmap, surface.staticOldBitmap) &&
               selectBitmap(surface.backDc, surface.backBitmap, surface.backOldBitmap);
    if (windowDc != nullptr) {
        softwareGdi.releaseDc(surface.window, windowDc);
    }
    if (!complete) {
        releaseIncompleteSetUp(surface);
        return;
    }
    drawStaticFrame(surface);
}
