#pragma once

// The saver's frame rendered off screen, for tools. A hidden window of the saver's class carries
// the saver's real OpenGL 3.3 core context; the surface goes through the same set-up stages as a
// saver window, but is sized to the frame wanted rather than to the (small, hidden) window, and
// its frames go into an 8-bit framebuffer of that size instead of the back buffer.
//
// The six pictures must be decoded first (GDI+ started, decodeEmbeddedPictures), as the saver's
// entry does before it creates any window; otherwise the cards are simply missing.

#include "gl/gl_api.h"
#include "shell/screen_surface.h"

#include <cstdint>
#include <vector>

// A window of the saver's class, a hidden popup unless visible is true; the class is registered on
// first use.
HWND createSaverClassWindow(int width, int height, bool visible = false);

// Deletes the surface's context (and with it every GL object), releases its dc, destroys its
// window and clears the record.
void closeSurfaceWindow(ScreenSurface& surface);

struct OffscreenFrame {
    ScreenSurface surface;
    GLuint outputTexture = 0;
    GLuint outputFramebuffer = 0;
};

// The set-up stages in the saver's order, separate so that each can be timed. Each returns false
// when its stage failed; the reason is in the diagnostic log, as for a saver window.
bool openOffscreenContext(OffscreenFrame& frame, int width, int height); // window, layout scale, context
bool buildOffscreenPrograms(OffscreenFrame& frame);                      // the window's programs
bool createOffscreenTargets(OffscreenFrame& frame); // targets, cards, point buffer, the output

// All three stages; on failure the frame is closed again.
bool openOffscreenFrame(OffscreenFrame& frame, int width, int height);

// Deletes the context (and with it every GL object), releases the dc and destroys the window.
void closeOffscreenFrame(OffscreenFrame& frame);

// The output framebuffer as RGBA bytes, top row first (window orientation, GL's rows turned round).
std::vector<std::uint8_t> readOffscreenPixels(const OffscreenFrame& frame);
