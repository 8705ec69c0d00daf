#pragma once

#include "shell/screen_surface.h"

#include <string>

// Real saver-class windows for in-process tests. The window is a hidden popup unless visible is
// true; the saver's window class is registered on first use.
HWND createTestWindow(int width, int height, bool visible = false);

// A hidden window with the saver's OpenGL 3.3 core context current, as the GL set-up leaves it
// (pixel format, core context, entry points). Returns false, with the surface released, when the
// context cannot be made.
bool openGlTestSurface(ScreenSurface& surface, int width, int height);

// Deletes the context, releases the dc and destroys the window of a test surface.
void closeTestSurface(ScreenSurface& surface);

// Points the temporary directory (and so the diagnostic log) at a fresh empty folder; returns the
// log file's path. Every call gives a new folder.
std::wstring redirectTempDirectory();

// The diagnostic log's whole text, or an empty string when the file does not exist.
std::string readLogFile(const std::wstring& path);
