#pragma once

// Helpers shared by the software renderer's tests: real software surfaces, read-back of their DIB
// sections and the embedded pictures.

#include "assets/pictures.h"
#include "shell/screen_surface.h"
#include "software/software_gdi.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

// A 32-bit frame as 0xAARRGGBB values, top row first.
struct Frame {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// One 8-bit channel: shift 24 alpha, 16 red, 8 green, 0 blue.
inline int channel(std::uint32_t pixel, int shift) {
    return static_cast<int>((pixel >> shift) & 0xFF);
}

// Largest difference of the red, green and blue channels.
int colourDistance(std::uint32_t a, std::uint32_t b);

// Pixels of [left, right) x [top, bottom) that differ from `before` by more than `tolerance`.
int changedPixels(const Frame& frame, const Frame& before, int left, int top, int right, int bottom,
                  int tolerance = 0);

// The pixels of a DIB section, after flushing GDI's batch.
Frame readBitmap(HBITMAP bitmap);

// A picture's premultiplied pixels.
Frame readPicture(EmbeddedImage* picture);

void startGdiplusOnce();

// `cards` fills the five card slots, logo and tagline included (the software path must not draw those two).
void setPictureSlots(bool background, bool cards);

// A hidden saver-class window set up as initSurface does after a GL failure; closed by the saver's teardown.
ScreenSurface* openSoftwareSurface(int width, int height);
void closeSoftwareSurface(ScreenSurface* surface);

// Puts `list` in place of the saver's window list and returns the previous one.
std::vector<ScreenSurface*> replaceSurfaces(std::vector<ScreenSurface*> list);

// Resets the preview flag, the picture slots and the GDI call table around every test.
class SoftwareTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    SoftwareGdiCalls originalGdi = {};
};
