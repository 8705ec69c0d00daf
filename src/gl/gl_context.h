#pragma once

struct ScreenSurface;

// Pixel format, legacy context, OpenGL 3.3 core context and the entry points, on the surface's
// dc. On success the core context is current and stored in glContext. On failure one line is in
// the diagnostic log and no context of this window survives.
bool createGlContext(ScreenSurface& surface);

// Makes nothing current and deletes the window's context, if it has one; its GL objects go with it.
void releaseGlContext(ScreenSurface& surface);
