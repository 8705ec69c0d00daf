#pragma once

#include "gl/gl_api.h"

struct ScreenSurface;

// One colour texture and a framebuffer with it as the only attachment; both are left bound.
GLuint createRenderTarget(int width, int height, bool halfFloat, GLuint& framebuffer);

// The empty vertex array, the point and blur targets, the card textures and the lasting GL state;
// marks the surface as a GL surface. False (after logging "scene framebuffer failed") when the point
// target is incomplete in both formats.
bool createGlResources(ScreenSurface& surface);
