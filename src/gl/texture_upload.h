#pragma once

#include "gl/gl_renderer.h"

// Makes one card texture from a picture in the current GL context: premultiplied BGRA texels,
// row 0 the picture's top row, linear filtering, clamped to the edge, left bound to
// GL_TEXTURE_2D. A null picture, or one whose pixels cannot be locked, gives {0, 0, 0} and
// creates no texture.
OverlayCard uploadImageTexture(EmbeddedImage* picture);
