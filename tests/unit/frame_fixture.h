#pragma once

#include "common/offscreen_frame.h"

#include <cstdint>
#include <vector>

// A surface set up exactly as the saver sets up a window, drawing into an 8-bit framebuffer of the
// window's size instead of the window itself.
using FrameFixture = OffscreenFrame;

// GDI+ started and the six pictures decoded (once per test program), then the off-screen frame.
bool openFrameFixture(FrameFixture& fixture, int width, int height);
inline void closeFrameFixture(FrameFixture& fixture) {
    closeOffscreenFrame(fixture);
}

// The output as RGBA bytes, rows top first (window orientation).
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
    const std::uint8_t* at(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
};
Image readOutput(const FrameFixture& fixture);

// Fills a render target's texture with one colour (values may exceed 1 on half-float targets).
void fillTarget(GLuint framebuffer, int width, int height, float red, float green, float blue);
