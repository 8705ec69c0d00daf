#pragma once

#include "shell/saver.h"

constexpr const wchar_t* saverClassName = L"OrvaneSaver3D";

// Registers the one window class of the saver (own dc per window, arrow cursor, black background).
void registerSaverClass(HINSTANCE instance);

// Makes the window and its record, which the window procedure finds through the window from its
// first message on; null when the window cannot be made.
SaverWindow* createSaverWindow(Saver& saver, const WindowPlacement& placement);

// Sets a made window up: its dc and layout scale, its renderer (GL first, and the software renderer
// when any GL set-up step fails, each failure writing its log line), then its notices of display,
// session and power. A window that got an OpenGL pixel format before its GL set-up failed is made
// anew for the software renderer: a window keeps its pixel format for life, and GDI must not draw
// into a double-buffered OpenGL one. The caller lists it.
void setUpSaverWindow(const Saver& saver, SaverWindow* window);

// A window's renderer released and made anew as at set-up (after a GPU reset lost its context):
// GL first, else the software renderer, in a window made anew when the old one has a pixel format;
// its notices then follow it to the new window.
void renewRenderer(const Saver& saver, SaverWindow& window);

// The set-up's mirror: the renderer, the dc, the notices, the window (unless it is gone already, as
// a preview's child may be), then the record.
void destroySaverWindow(SaverWindow* window);

// The saver window a window procedure call is for; null before the record is attached.
SaverWindow* saverWindowOf(HWND window);
