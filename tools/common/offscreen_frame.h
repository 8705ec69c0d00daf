#pragma once

// The saver's frame rendered off screen, for tools and tests. A hidden window carries the saver's
// real OpenGL 3.3 core context; the GL renderer goes through the saver's own set-up stages, but for
// a surface sized to the frame wanted rather than to the (small, hidden) window, and its frames go
// into an 8-bit output target of that size instead of the back buffer.
//
// The pictures must be decoded first (GDI+ started, decodeEmbeddedPictures), as the saver's entry
// does before it makes any window; otherwise the cards are simply missing.

#include "gl/gl_frame.h"

#include <cstdint>
#include <vector>

struct OffscreenFrame {
    WindowSurface surface;
    GlRenderer renderer;
    RenderTarget output;
};

// A hidden window with its own dc, for a frame of the given size; false when it cannot be made.
bool openOffscreenWindow(OffscreenFrame& frame, int width, int height);

// The output target; false when it is incomplete.
bool createOffscreenOutput(OffscreenFrame& frame);

// The window, the whole GL set-up and the output; on failure the frame is closed again.
bool openOffscreenFrame(OffscreenFrame& frame, int width, int height, const Pictures& pictures);

// Destroys the renderer (and with its context every GL object), releases the dc and destroys the
// window.
void closeOffscreenFrame(OffscreenFrame& frame);

// The frame's passes at this pass's values, into the output target.
void renderOffscreenFrame(const OffscreenFrame& frame, const PassValues& pass);

// The output target as RGBA bytes, top row first (window orientation, GL's rows turned round).
std::vector<std::uint8_t> readOffscreenPixels(const OffscreenFrame& frame);
