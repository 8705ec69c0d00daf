#pragma once

// Helpers shared by the software renderer's tests: real software surfaces, read-back of their DIB
// sections, the embedded pictures decoded once, and optional PNG captures for review.

#include "assets/pictures.h"
#include "shell/screen_surface.h"

#include <cstdint>
#include <vector>

// A 32-bit frame as 0xAARRGGBB values, top row first.
struct Frame {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

inline int red(std::uint32_t pixel) {
    return static_cast<int>((pixel >> 16) & 0xFF);
}
inline int green(std::uint32_t pixel) {
    return static_cast<int>((pixel >> 8) & 0xFF);
}
inline int blue(std::uint32_t pixel) {
    return static_cast<int>(pixel & 0xFF);
}
inline int alpha(std::uint32_t pixel) {
    return static_cast<int>(pixel >> 24);
}

// Largest difference of the red, green and blue channels.
int colourDistance(std::uint32_t a, std::uint32_t b);

// The pixels of a DIB section, after flushing GDI's batch.
Frame readBitmap(HBITMAP bitmap);

// A picture's premultiplied pixels.
Frame readPicture(EmbeddedImage* picture);

// GDI+ for the whole test program (never shut down: the process ends soon enough).
void startGdiplusOnce();

// The embedded pictures, decoded once per test program and owned by the tests; the saver's slots
// are set from these and put back to null by clearPictureSlots.
EmbeddedImage* testPicture(EmbeddedImage* const& slot);
// `cards` fills the five card slots, logo and tagline included (the software path must not draw those two).
void setPictureSlots(bool background, bool cards);
void clearPictureSlots();

// A hidden saver-class window of the given size, set up as initSurface does after a GL failure
// (scale, dc, then the software set-up). Closed with the saver's own teardown.
ScreenSurface* openSoftwareSurface(int width, int height);
void closeSoftwareSurface(ScreenSurface* surface);

// Writes the frame as <name>.png into the folder named by ORVANE_SOFTWARE_CAPTURE_DIR (a Windows
// path) when that variable is set, for looking at; does nothing otherwise.
void captureFrame(const Frame& frame, const wchar_t* name);
