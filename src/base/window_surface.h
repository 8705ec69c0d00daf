#pragma once

#include <windows.h>

// What every saver window is to a renderer: the window, its own device context (the class has
// CS_OWNDC), its client size in pixels and its layout scale. A tool's off-screen frame is one too,
// sized to the frame it wants rather than to its hidden window.
struct WindowSurface {
    HWND window = nullptr;
    HDC dc = nullptr;
    int width = 0;
    int height = 0;
    float scale = 1.0f;
};
