#pragma once

#include "common/offscreen_frame.h"
#include "shell/screen_surface.h"

#include <string>

// Real saver-class windows come from createSaverClassWindow and go with closeSurfaceWindow.

// A hidden window with the saver's OpenGL 3.3 core context current, as the GL set-up leaves it
// (pixel format, core context, entry points). Returns false, with the surface released, when the
// context cannot be made.
bool openGlTestSurface(ScreenSurface& surface, int width, int height);

// Points the temporary directory (and so the diagnostic log) at a fresh empty folder; returns the
// log file's path. Every call gives a new folder.
std::wstring redirectTempDirectory();

// The diagnostic log's whole text, or an empty string when the file does not exist.
std::string readLogFile(const std::wstring& path);
