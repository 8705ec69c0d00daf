#include "software/software_renderer.h"

#include "assets/pictures.h"
#include "shell/saver_state.h"
#include "shell/screen_surface.h"
#include "software/software_drawing.h"
#include "software/software_gdi.h"
#include "software/software_layout.h"
#include "software/software_pass.h"
#include "software/static_frame.h"

using namespace Gdiplus;

namespace {

// The main loop hands every software window of a pass the same saver time: the values are computed
// for the first window of the pass and reused by the others.
const SoftwarePassValues& passValuesAt(double saverTime) {
    static bool computed = false;
    static double computedTime = 0.0;
    static SoftwarePassValues values;
    if (!computed || computedTime != saverTime) {
        values = softwarePassValues(saverTime);
        computedTime = saverTime;
        computed = true;
    }
    return values;
}

// Nothing drawn in a frame may cover the help card (its support details stay readable).
void excludeHelpCard(Graphics& graphics, const ScreenSurface& surface) {
    const std::optional<PictureSize> size = pictureSize(helpCardPicture);
    if (previewMode || !size) {
        return;
    }
    const LayoutRect card =
        helpCardRect(surface.width, surface.height, surface.scale, size->width, size->height);
    graphics.SetClip(RectF(card.x, card.y, card.width, card.height), CombineModeExclude);
}

} // namespace

void drawSoftwareFrame(ScreenSurface& surface, double saverTime) {
    const SoftwarePassValues& pass = passValuesAt(saverTime);
    // Every frame starts again from the static frame, so nothing accumulates.
    softwareGdi.bitBlt(surface.backDc, 0, 0, surface.width, surface.height, surface.staticDc, 0, 0, SRCCOPY);

    Graphics graphics(surface.backDc);
    graphics.SetSmoothingMode(SmoothingModeAntiAlias);
    graphics.SetPixelOffsetMode(PixelOffsetModeHighQuality);
    excludeHelpCard(graphics, surface);
    const LayoutPoint centre = ringCentre(surface.width, surface.height);
    const float scale = surface.scale;
    for (int index = 0; index < 3; ++index) {
        const ArcStyle& arc = arcStyles[index];
        drawGlowArc(graphics, centre.x, centre.y, arc.radius * scale, pass.leadAngle[index], arc.sweep,
                    arc.trailsBackwards, arc.penWidth * scale, arc.red, arc.green, arc.blue,
                    pass.arcAlpha[index]);
    }

    HDC windowDc = softwareGdi.getDc(surface.window);
    if (windowDc != nullptr) {
        softwareGdi.bitBlt(windowDc, 0, 0, surface.width, surface.height, surface.backDc, 0, 0, SRCCOPY);
        softwareGdi.releaseDc(surface.window, windowDc);
    }
    // The graphics object is deleted on return, after the blit.
}
