#pragma once

#include "base/pictures_list.h"

#include <windows.h>

#include <gdiplus.h>

// A decoded picture: a GDI+ bitmap in 32-bit premultiplied ARGB.
using EmbeddedImage = Gdiplus::Bitmap;

// The stored pictures, decoded once at start-up and owned by the saver for the whole run; a slot
// is null when its picture could not be decoded.
struct Pictures {
    EmbeddedImage* slots[pictureCount] = {};

    EmbeddedImage* operator[](PictureId id) const { return slots[id]; }
};

// Fills every slot in decode order; a picture that fails leaves its slot null. Needs GDI+ started.
void decodeEmbeddedPictures(Pictures& pictures);

// Deletes every decoded picture, in decode order, before GDI+ shuts down.
void releaseEmbeddedPictures(Pictures& pictures);
