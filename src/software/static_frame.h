#pragma once

#include "assets/pictures.h"
#include "software/software_layout.h"

#include <optional>

struct ScreenSurface;

// Draws what never moves (ground, background picture, rings, picture cards) into the surface's
// staticDc, once, at set-up. The graphics object is deleted on return.
void drawStaticFrame(const ScreenSurface& surface);

// A picture's pixel size as GDI+ reports it, or nothing when its slot is empty.
std::optional<PictureSize> pictureSize(EmbeddedImage* picture);
