#pragma once

#include "gl/gl_renderer.h"

// One colour texture and a framebuffer with it as the only attachment; both are left bound.
RenderTarget createRenderTarget(const GlFunctions& gl, int width, int height, bool halfFloat);

// The empty vertex array, the point and blur targets, the card textures and the lasting GL state.
// False (after logging "scene framebuffer failed") when the point target is incomplete in both
// formats.
bool createGlTargets(GlRenderer& renderer, const WindowSurface& surface, const Pictures& pictures);
