#pragma once

#include "gl/gl_functions.h"

// Pixel format, legacy context, OpenGL 3.3 core context and the entry points, on the window's dc.
// The core context, once it exists, is stored in `context` (also when the entry points are then
// found missing, so that its owner deletes it). On success it is current and `gl` is filled. On
// failure one line is in the diagnostic log.
bool createGlContext(HDC dc, HGLRC& context, GlFunctions& gl);
