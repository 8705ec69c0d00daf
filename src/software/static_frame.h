#pragma once

#include "software/software_layout.h"
#include "software/software_renderer.h"

#include <optional>

// Draws what never moves (ground, background picture, rings, picture cards) into the renderer's
// staticDc, once, at set-up. The graphics object is deleted on return.
void drawStaticFrame(const SoftwareRenderer& renderer, const WindowSurface& surface, const Pictures& pictures,
                     bool preview);

// A picture's pixel size as GDI+ reports it, or nothing when its slot is empty.
std::optional<PictureSize> pictureSize(EmbeddedImage* picture);
