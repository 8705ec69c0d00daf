#pragma once

struct ScreenSurface;

// The per-window renderer set-up: chooses, once and for good, the OpenGL or the software path.
// Expects window, width and height set and every other field at its initial value.
void initSurface(ScreenSurface& surface);
