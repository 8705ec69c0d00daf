#include "software/software_renderer.h"

#include "software/software_drawing.h"
#include "software/software_gdi.h"
#include "software/software_layout.h"

#include <cmath>

using namespace Gdiplus;

namespace {

// The pixels an arc can touch, in whole pixels inside the window; empty when it lies outside.
RECT arcBox(const WindowSurface& surface, LayoutPoint centre, const ArcStyle& style, double leadAngle) {
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

bool copyRect(HDC to, HDC from, const RECT& rect) {
    return IsRectEmpty(&rect) || softwareGdi.bitBlt(to, rect.left, rect.top, rect.right - rect.left,
                                                    rect.bottom - rect.top, from, rect.left, rect.top, SRCCOPY);
}

} // namespace

void drawSoftwareFrame(SoftwareRenderer& renderer, const WindowSurface& surface,
                       const SoftwarePassValues& pass) {
    const LayoutPoint centre = ringCentre(surface.width, surface.height);
    // Only the arcs move: restoring the static frame where they were erases them, so nothing
    // accumulates, and the window needs only that and where they are now.
    RECT redraw[3] = {};
    for (int index = 0; index < 3; ++index) {
        const RECT now = arcBox(surface, centre, arcStyles[index], pass.leadAngle[index]);
        UnionRect(&redraw[index], &renderer.arcBoxes[index], &now);
        renderer.arcBoxes[index] = now;
    }
    if (renderer.wholeFrameDue) {
        redraw[0] = {0, 0, surface.width, surface.height};
        redraw[1] = redraw[2] = RECT{};
        renderer.wholeFrameDue = false;
    }
    for (const RECT& rect : redraw) {
        copyRect(renderer.backDc, renderer.staticDc, rect);
    }

    Graphics graphics(renderer.backDc);
    graphics.SetSmoothingMode(SmoothingModeAntiAlias);
    graphics.SetPixelOffsetMode(PixelOffsetModeHighQuality);
    if (renderer.clipHelpCard) {
        const CardRect& card = renderer.helpCard;
        graphics.SetClip(RectF(card.x, card.y, card.width, card.height), CombineModeExclude);
    }
    const float scale = surface.scale;
    for (int index = 0; index < 3; ++index) {
        const ArcStyle& arc = arcStyles[index];
        drawGlowArc(graphics, centre.x, centre.y, arc.radius * scale, pass.leadAngle[index], arc.sweep,
                    arc.trailsBackwards, arc.penWidth * scale, arc.red, arc.green, arc.blue,
                    pass.arcAlpha[index], pass.glowAlpha[index]);
    }

    HDC windowDc = softwareGdi.getDc(surface.window);
    bool shown = windowDc != nullptr;
    if (windowDc != nullptr) {
        for (const RECT& rect : redraw) {
            shown = copyRect(windowDc, renderer.backDc, rect) && shown;
        }
        softwareGdi.releaseDc(surface.window, windowDc);
    }
    // What did not reach the window (arcs where they were, or are now) is repaired by the next frame.
    renderer.wholeFrameDue = renderer.wholeFrameDue || !shown;
    // The graphics object is deleted on return, after the blits.
}
