#pragma once

struct ScreenSurface;
struct OverlayCard;

// Draws one card over the composited frame (blending already set for premultiplied alpha).
// A card without texture is skipped without any GL call.
void drawOverlayCard(const ScreenSurface& surface, const OverlayCard& card, int index, float cardFade);
