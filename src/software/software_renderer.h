#pragma once

struct ScreenSurface;

// Prepares a window that cannot render through OpenGL 3.3 core for the software path.
void initSoftwareSurface(ScreenSurface& surface);

// One software frame of a window at saver time t (seconds).
void drawSoftwareFrame(ScreenSurface& surface, double saverTime);
