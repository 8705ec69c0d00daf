#pragma once

struct ScreenSurface;

// Draws one frame into a GL window whose context is current, and presents it.
void drawGlFrame(ScreenSurface& surface, float saverTime, float cardFade);
