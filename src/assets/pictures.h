#pragma once

#include <windows.h>

#include <gdiplus.h>

#include <cstddef>

// A decoded picture: a GDI+ bitmap in 32-bit premultiplied ARGB.
using EmbeddedImage = Gdiplus::Bitmap;

// The six pictures, decoded once at start-up; null when a picture could not be decoded.
extern EmbeddedImage* backgroundPicture;
extern EmbeddedImage* combinedCardPicture;
extern EmbeddedImage* helpCardPicture;
extern EmbeddedImage* wordmarkPicture;
extern EmbeddedImage* logoPicture;
extern EmbeddedImage* taglinePicture;

// Fills the six slots in order; a picture that fails leaves its slot null. Needs GDI+ started.
void decodeEmbeddedPictures();

// Deletes every decoded picture, in decode order, before GDI+ shuts down.
void releaseEmbeddedPictures();
