#pragma once

#include "assets/pictures.h"
#include "base/cards.h"
#include "base/window_surface.h"
#include "software/software_pass.h"

// The software renderer of one window that cannot render through OpenGL 3.3 core: two memory
// device contexts with 32-bit top-down DIB sections, one holding the static frame drawn once at
// set-up, the other the frame composed every time.
struct SoftwareRenderer {
    HDC staticDc = nullptr;
    HDC backDc = nullptr;
    HBITMAP staticBitmap = nullptr;
    HBITMAP backBitmap = nullptr;
    HGDIOBJ staticOldBitmap = nullptr; // selected back before the dc is deleted: GDI keeps a
    HGDIOBJ backOldBitmap = nullptr;   // bitmap that is still selected
    // The frame redraws only where its arcs were and are; a new window, or one painted over, gets
    // all of it once.
    RECT arcBoxes[3] = {};
    bool wholeFrameDue = true;
    // Nothing drawn in a frame may cover the help card (its support details stay readable).
    bool clipHelpCard = false;
    CardRect helpCard;
};

// Makes the device contexts and bitmaps and draws the static frame (the preview's or the full
// screen's). When a device context or bitmap cannot be made, everything made so far is released
// through destroySoftwareRenderer and the result is false: the window is then never drawn.
bool createSoftwareRenderer(SoftwareRenderer& renderer, const WindowSurface& surface,
                            const Pictures& pictures, bool preview);

// Selects each dc's first bitmap back, deletes the dcs, then the bitmaps, and clears the record.
void destroySoftwareRenderer(SoftwareRenderer& renderer);

// One software frame of a window with the pass's values: the static frame, the three arcs on top,
// and the result blitted to the window. Only the rectangles around the arcs of the last frame and
// of this one are redrawn and blitted, unless the whole frame is due.
void drawSoftwareFrame(SoftwareRenderer& renderer, const WindowSurface& surface,
                       const SoftwarePassValues& pass);

// What was on the window is gone (it was painted over): the next frame shows all of it.
inline void repaintSoftwareFrame(SoftwareRenderer& renderer) {
    renderer.wholeFrameDue = true;
}
