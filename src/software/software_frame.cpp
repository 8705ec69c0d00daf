#include "software/software_renderer.h"

#include "assets/pictures.h"
#include "shell/saver_state.h"
#include "shell/screen_surface.h"
#include "software/software_drawing.h"
#include "software/software_gdi.h"
#include "software/software_layout.h"
#include "software/software_pass.h"
#include "software/static_frame.h"

#include <cmath>

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

// The pixels an arc can touch, in whole pixels inside the window; empty when it lies outside.
RECT arcBox(const ScreenSurface& surface, LayoutPoint centre, const ArcStyle& style, double leadAngle) {
    const float radius = style.radius * surface.scale;
    const GlowArcGeometry arc =
        glowArcGeometry(centre.x, centre.y, radius, leadAngle, style.sweep, style.trailsBackwards);
    const LayoutRect bounds = glowArcBounds(centre.x, centre.y, radius, arc, style.sweep,
                                            glowArcReach(style.penWidth * surface.scale));
    const RECT box = {static_cast<LONG>(std::floor(bounds.x)), static_cast<LONG>(std::floor(bounds.y)),
                      static_cast<LONG>(std::ceil(bounds.x + bounds.width)),
                      static_cast<LONG>(std::ceil(bounds.y + bounds.height))};
    const RECT window = {0, 0, surface.width, surface.height};
    RECT inside = {};
    IntersectRect(&inside, &box, &window);
    return inside;
}

void copyRect(HDC to, HDC from, const RECT& rect) {
    if (!IsRectEmpty(&rect)) {
        softwareGdi.bitBlt(to, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, from,
                           rect.left, rect.top, SRCCOPY);
    }
}

} // namespace

void drawSoftwareFrame(ScreenSurface& surface, double saverTime) {
    const SoftwarePassValues& pass = passValuesAt(saverTime);
    const LayoutPoint centre = ringCentre(surface.width, surface.height);
    // Only the arcs move: restoring the static frame where they were erases them, so nothing
    // accumulates, and the window needs only that and where they are now.
    RECT redraw[3] = {};
    for (int index = 0; index < 3; ++index) {
        const RECT now = arcBox(surface, centre, arcStyles[index], pass.leadAngle[index]);
        UnionRect(&redraw[index], &surface.arcBoxes[index], &now);
        surface.arcBoxes[index] = now;
    }
    if (surface.wholeFrameDue) {
        redraw[0] = {0, 0, surface.width, surface.height};
        redraw[1] = redraw[2] = RECT{};
        surface.wholeFrameDue = false;
    }
    for (const RECT& rect : redraw) {
        copyRect(surface.backDc, surface.staticDc, rect);
    }

    Graphics graphics(surface.backDc);
    graphics.SetSmoothingMode(SmoothingModeAntiAlias);
    graphics.SetPixelOffsetMode(PixelOffsetModeHighQuality);
    excludeHelpCard(graphics, surface);
    const float scale = surface.scale;
    for (int index = 0; index < 3; ++index) {
        const ArcStyle& arc = arcStyles[index];
        drawGlowArc(graphics, centre.x, centre.y, arc.radius * scale, pass.leadAngle[index], arc.sweep,
                    arc.trailsBackwards, arc.penWidth * scale, arc.red, arc.green, arc.blue,
                    pass.arcAlpha[index]);
    }

    HDC windowDc = softwareGdi.getDc(surface.window);
    if (windowDc != nullptr) {
        for (const RECT& rect : redraw) {
            copyRect(windowDc, surface.backDc, rect);
        }
        softwareGdi.releaseDc(surface.window, windowDc);
    }
    // The graphics object is deleted on return, after the blits.
}
