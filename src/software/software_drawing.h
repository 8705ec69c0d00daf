#pragma once

#include <windows.h>

#include <gdiplus.h>

#include <cstdint>

// The two drawing routines of the software path. They use GDI+'s C++ wrappers, each of which is
// one flat GDI+ call (Pen(colour, width) is GdipCreatePen1 in world units, DrawArc is GdipDrawArc,
// the destructors are the GdipDelete calls). A failed call only records its status and drawing
// goes on with the next primitive.

// A faint circle of `colour` (ARGB) around (cx, cy); dashed rings use dashes of 2 and gaps of 10
// pen widths.
void drawRing(Gdiplus::Graphics& graphics, float cx, float cy, float radius, std::uint32_t colour,
              float width, bool dashed);

// An arc of `sweep` degrees on the circle around (cx, cy) that fades from nothing at its tail to
// `alpha` at its lead, where a wide glow dot (of `glowAlpha`) and a small bright core dot sit. The tail lies
// at smaller angles than the lead when trailsBackwards is true, at larger ones otherwise.
void drawGlowArc(Gdiplus::Graphics& graphics, float cx, float cy, float radius, double leadAngle, float sweep,
                 bool trailsBackwards, float width, std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                 std::uint8_t alpha, std::uint8_t glowAlpha);
