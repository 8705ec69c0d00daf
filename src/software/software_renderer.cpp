#include "software/software_renderer.h"

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

// Selects a bitmap and keeps what was selected before; false when the selection failed.
bool selectBitmap(HDC dc, HBITMAP bitmap, HGDIOBJ& previous) {
    const HGDIOBJ old = softwareGdi.selectObject(dc, bitmap);
    if (old == nullptr || old == HGDI_ERROR) {
        return false;
    }
    previous = old;
    return true;
}

void deleteMemoryDc(HDC dc, HGDIOBJ oldBitmap) {
    if (dc == nullptr) {
        return;
    }
    if (oldBitmap != nullptr) {
        softwareGdi.selectObject(dc, oldBitmap);
    }
    softwareGdi.deleteDc(dc);
}

} // namespace

bool createSoftwareRenderer(SoftwareRenderer& renderer, const WindowSurface& surface,
                            const Pictures& pictures, bool preview) {
    HDC windowDc = softwareGdi.getDc(surface.window);
    renderer.staticDc = softwareGdi.createCompatibleDc(windowDc);
    renderer.backDc = softwareGdi.createCompatibleDc(windowDc);
    // The pixel memory belongs to the sections; its address is not needed.
    const BITMAPINFO info = frameBitmapInfo(surface.width, surface.height);
    void* pixels = nullptr;
    renderer.staticBitmap =
        softwareGdi.createDibSection(windowDc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    renderer.backBitmap = softwareGdi.createDibSection(windowDc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);

    // A zero-sized window or an exhausted GDI gives null handles here.
    bool complete = renderer.staticDc != nullptr && renderer.backDc != nullptr &&
                    renderer.staticBitmap != nullptr && renderer.backBitmap != nullptr;
    complete = complete && selectBitmap(renderer.staticDc, renderer.staticBitmap, renderer.staticOldBitmap) &&
               selectBitmap(renderer.backDc, renderer.backBitmap, renderer.backOldBitmap);
    if (windowDc != nullptr) {
        softwareGdi.releaseDc(surface.window, windowDc);
    }
    if (!complete) {
        destroySoftwareRenderer(renderer);
        return false;
    }
    const std::optional<PictureSize> help = pictureSize(pictures[helpCardPicture]);
    if (!preview && help) {
        renderer.clipHelpCard = true;
        renderer.helpCard =
            helpCardRect(surface.width, surface.height, surface.scale, help->width, help->height);
    }
    drawStaticFrame(renderer, surface, pictures, preview);
    return true;
}

void destroySoftwareRenderer(SoftwareRenderer& renderer) {
    deleteMemoryDc(renderer.staticDc, renderer.staticOldBitmap);
    deleteMemoryDc(renderer.backDc, renderer.backOldBitmap);
    if (renderer.staticBitmap != nullptr) {
        DeleteObject(renderer.staticBitmap);
    }
    if (renderer.backBitmap != nullptr) {
        DeleteObject(renderer.backBitmap);
    }
    renderer = SoftwareRenderer();
}
