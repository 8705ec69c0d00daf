#pragma once

#include "base/cards.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

// Where the software frame puts things, in window pixels (origin top-left, y downwards), single
// precision, from plain values only.

struct LayoutPoint {
    float x = 0.0f;
    float y = 0.0f;
};

// The same rectangle the GL path's cards use.
using LayoutRect = CardRect;

// The rings and arcs turn around mid-width, a little above mid-height.
inline LayoutPoint ringCentre(int width, int height) {
    return {0.5f * static_cast<float>(width), 0.44f * static_cast<float>(height)};
}

// One faint ring of the static frame; radius at layout scale 1, colour ARGB.
struct RingStyle {
    float radius;
    std::uint32_t colour;
    bool dashed;
};

inline constexpr RingStyle ringStyles[3] = {
    {430.0f, 0x1AC9A75Eu, false},
    {560.0f, 0x1AC9A75Eu, true},
    {700.0f, 0x0FC9A75Eu, false},
};

// Ring pens follow the layout scale but never get thinner than one pixel.
inline float ringPenWidth(float scale) {
    return scale > 1.0f ? scale : 1.0f;
}

// One travelling arc of the software frame; radius and pen width at layout scale 1.
struct ArcStyle {
    float radius;
    float sweep;
    bool trailsBackwards;
    float penWidth;
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
};

// Each arc runs along the ring of the same index.
inline constexpr ArcStyle arcStyles[3] = {
    {430.0f, 80.0f, true, 2.6f, 228, 201, 135},
    {560.0f, 45.0f, false, 1.6f, 201, 167, 94},
    {700.0f, 28.0f, true, 1.2f, 201, 167, 94},
};

// A picture drawn at half its pixel size times the layout scale.
inline LayoutRect halfSizeRect(float scale, int pictureWidth, int pictureHeight) {
    LayoutRect rect;
    rect.width = static_cast<float>(pictureWidth) * 0.5f * scale;
    rect.height = static_cast<float>(pictureHeight) * 0.5f * scale;
    return rect;
}

// Full screen: the combined card at half size, centred on the rings.
inline LayoutRect combinedCardRect(int width, int height, float scale, int pictureWidth, int pictureHeight) {
    LayoutRect rect = halfSizeRect(scale, pictureWidth, pictureHeight);
    const LayoutPoint centre = ringCentre(width, height);
    rect.x = centre.x - rect.width / 2.0f;
    rect.y = centre.y - rect.height / 2.0f;
    return rect;
}

// Preview: the combined card alone, 0.62 of the window wide with its aspect kept, centred on the
// rings. A picture without width gets an empty rectangle.
inline LayoutRect previewCardRect(int width, int height, int pictureWidth, int pictureHeight) {
    LayoutRect rect;
    if (pictureWidth <= 0) {
        return rect;
    }
    rect.width = 0.62f * static_cast<float>(width);
    rect.height = static_cast<float>(pictureHeight) * rect.width / static_cast<float>(pictureWidth);
    const LayoutPoint centre = ringCentre(width, height);
    rect.x = centre.x - rect.width / 2.0f;
    rect.y = centre.y - rect.height / 2.0f;
    return rect;
}

// Full screen: the help card in its corner, exactly where the GL path draws it.
inline LayoutRect helpCardRect(int width, int height, float scale, int pictureWidth, int pictureHeight) {
    return cardRect(overlayCards[helpCard], pictureWidth, pictureHeight, width, height, scale);
}

// Full screen: the wordmark stands where the GL path's tagline does.
inline LayoutRect wordmarkRect(int width, int height, float scale, int pictureWidth, int pictureHeight) {
    return cardRect(overlayCards[taglineCard], pictureWidth, pictureHeight, width, height, scale);
}

// Pixel size of a decoded picture; an empty optional stands for a picture that is missing.
struct PictureSize {
    int width = 0;
    int height = 0;
};

struct CardPlacement {
    bool drawn = false;
    LayoutRect rect;
};

// The picture cards of the static frame. Preview shows the combined card alone; full screen shows
// the combined card, the help card and the wordmark. A missing picture is not drawn.
struct SoftwareCards {
    CardPlacement combined;
    CardPlacement help;
    CardPlacement wordmark;
};

inline SoftwareCards softwareCards(int width, int height, float scale, std::optional<PictureSize> combined,
                                   std::optional<PictureSize> help, std::optional<PictureSize> wordmark,
                                   bool preview) {
    SoftwareCards cards;
    if (preview) {
        if (combined) {
            cards.combined = {true, previewCardRect(width, height, combined->width, combined->height)};
        }
        return cards;
    }
    if (combined) {
        cards.combined = {true, combinedCardRect(width, height, scale, combined->width, combined->height)};
    }
    if (help) {
        cards.help = {true, helpCardRect(width, height, scale, help->width, help->height)};
    }
    if (wordmark) {
        cards.wordmark = {true, wordmarkRect(width, height, scale, wordmark->width, wordmark->height)};
    }
    return cards;
}

// The point at `degrees` on a circle, computed in double precision (GDI+ angles: clockwise on screen).
inline LayoutPoint pointOnCircle(float cx, float cy, float radius, double degrees) {
    const double radians = degrees * 3.141592653589793 / 180.0;
    return {static_cast<float>(cx + radius * std::cos(radians)),
            static_cast<float>(cy + radius * std::sin(radians))};
}

// The ends of a glow arc and the angle its drawing starts from. The lead carries the dots; the
// tail, `sweep` degrees behind the motion, is where the arc fades out.
struct GlowArcGeometry {
    float startAngle = 0.0f;
    LayoutPoint lead;
    LayoutPoint tail;
};

inline GlowArcGeometry glowArcGeometry(float cx, float cy, float radius, double leadAngle, float sweep,
                                       bool trailsBackwards) {
    const double tailAngle = trailsBackwards ? leadAngle - sweep : leadAngle + sweep;
    GlowArcGeometry geometry;
    // GDI+ draws an arc from its start angle clockwise through the sweep.
    geometry.startAngle = static_cast<float>(trailsBackwards ? tailAngle : leadAngle);
    geometry.lead = pointOnCircle(cx, cy, radius, leadAngle);
    geometry.tail = pointOnCircle(cx, cy, radius, tailAngle);
    return geometry;
}

// The dots at a glow arc's lead, in pen widths: a wide faint glow and a small bright core.
inline constexpr float glowDotRadius = 4.0f;
inline constexpr float coreDotRadius = 1.3f;

// How far a glow arc's pixels reach beyond its circle: the widest of the two dots, the pen's half
// width and its round caps (half a pen width past each end); plus two pixels, for anti-aliasing
// where the half-pixel offset is not honoured and for the Bezier curves GDI+ draws arcs with, which
// stray from the circle by up to 0.03 % of its radius (0.4 pixels at 3840 x 2160).
inline float glowArcReach(float penWidth) {
    return std::max({glowDotRadius, coreDotRadius, 0.5f}) * penWidth + 2.0f;
}

// The rectangle around everything a glow arc draws: its ends, the circle's leftmost, topmost,
// rightmost and bottommost points where the arc passes them, widened by `reach` on every side.
inline LayoutRect glowArcBounds(float cx, float cy, float radius, const GlowArcGeometry& arc, float sweep,
                                float reach) {
    float left = std::min(arc.lead.x, arc.tail.x), right = std::max(arc.lead.x, arc.tail.x);
    float top = std::min(arc.lead.y, arc.tail.y), bottom = std::max(arc.lead.y, arc.tail.y);
    const double end = static_cast<double>(arc.startAngle) + sweep;
    for (double quarter = std::ceil(arc.startAngle / 90.0) * 90.0; quarter <= end; quarter += 90.0) {
        const LayoutPoint point = pointOnCircle(cx, cy, radius, quarter);
        left = std::min(left, point.x);
        right = std::max(right, point.x);
        top = std::min(top, point.y);
        bottom = std::max(bottom, point.y);
    }
    return {left - reach, top - reach, right - left + 2.0f * reach, bottom - top + 2.0f * reach};
}
