#pragma once

struct ScreenSurface;

// Prepares a window that cannot render through OpenGL 3.3 core for the software path: two memory
// device contexts with 32-bit top-down DIB sections, and the static frame drawn once. When a device
// context or bitmap cannot be made, everything made so far is released and backDc stays null, so
// the main loop never draws the window.
void initSoftwareSurface(ScreenSurface& surface);

// One software frame of a window at saver time t (seconds): the static frame, the three arcs on
// top, and the result blitted to the window. Only the rectangles around the arcs of the last frame
// and of this one are redrawn and blitted, unless the surface's wholeFrameDue asks for all.
void drawSoftwareFrame(ScreenSurface& surface, double saverTime);
