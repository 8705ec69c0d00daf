#pragma once

#include "assets/pictures.h"

#include <cstddef>

// Decodes one stored PNG into a new 32-bit premultiplied ARGB picture of the same pixel size.
// Returns null when the bytes cannot be wrapped or decoded, or when the premultiplied copy
// cannot be created (a picture without pixels would only fail later, in every draw). Needs GDI+.
EmbeddedImage* decodeEmbeddedImage(const unsigned char* bytes, std::size_t length);

// Makes the empty premultiplied picture that a decoded PNG is drawn into; may return null or an
// object whose creation failed (its last status tells).
using PremultipliedCopyFactory = EmbeddedImage* (*)(int width, int height);

// Builds the empty premultiplied picture in memory from GdipAlloc; null when that memory is null.
EmbeddedImage* constructPremultipliedCopy(void* memory, int width, int height);

// decodeEmbeddedImage with the copy's creation replaceable, so that its failure can be tested.
EmbeddedImage* decodeEmbeddedImageWith(const unsigned char* bytes, std::size_t length,
                                       PremultipliedCopyFactory createCopy);
