#include "software/software_drawing.h"

#include "software/software_layout.h"

using namespace Gdiplus;

namespace {

constexpr std::uint8_t coreRed = 244;
constexpr std::uint8_t coreGreen = 228;
constexpr std::uint8_t coreBlue = 190;

void fillCircle(Graphics& graphics, const Brush& brush, LayoutPoint centre, float radius) {
    graphics.FillEllipse(&brush, centre.x - radius, centre.y - radius, 2.0f * radius, 2.0f * radius);
}

} // namespace

void drawRing(Graphics& graphics, float cx, float cy, float radius, std::uint32_t colour, float width,
              bool dashed) {
    Pen pen(Color(colour), width);
    if (dashed) {
        // In multiples of the pen width.
        const REAL dashes[2] = {2.0f, 10.0f};
        pen.SetDashPattern(dashes, 2);
    }
    graphics.DrawEllipse(&pen, cx - radius, cy - radius, 2.0f * radius, 2.0f * radius);
}

void drawGlowArc(Graphics& graphics, float cx, float cy, float radius, double leadAngle, float sweep,
                 bool trailsBackwards, float width, std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                 std::uint8_t alpha, std::uint8_t glowAlpha) {
    const GlowArcGeometry arc = glowArcGeometry(cx, cy, radius, leadAngle, sweep, trailsBackwards);

    // The fade runs along the chord from tail to lead. Mirrored tiling keeps the round caps beyond
    // either end near that end's own alpha instead of wrapping round to the other end's.
    LinearGradientBrush gradient(PointF(arc.tail.x, arc.tail.y), PointF(arc.lead.x, arc.lead.y),
                                 Color(0, red, green, blue), Color(alpha, red, green, blue));
    gradient.SetWrapMode(WrapModeTileFlipX);
    Pen pen(&gradient, width);
    pen.SetStartCap(LineCapRound);
    pen.SetEndCap(LineCapRound);
    graphics.DrawArc(&pen, cx - radius, cy - radius, 2.0f * radius, 2.0f * radius, arc.startAngle, sweep);

    const SolidBrush glow(Color(glowAlpha, red, green, blue));
    fillCircle(graphics, glow, arc.lead, glowDotRadius * width);
    const SolidBrush core(Color(alpha, coreRed, coreGreen, coreBlue));
    fillCircle(graphics, core, arc.lead, coreDotRadius * width);
    // Leaving the scope deletes the core brush, the glow brush, the pen and the gradient, in this order.
}
