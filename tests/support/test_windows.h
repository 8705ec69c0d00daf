#pragma once

#include "common/offscreen_frame.h"
#include "shell/screen_surface.h"

#include <string>

// Real saver-class windows come from createSaverClassWindow and go with closeSurfaceWindow.

// A hidden window with the saver's OpenGL 3.3 core context current, as the GL set-up leaves it
// (pixel format, core context, entry points). Returns false, with the surface released, when the
// context cannot be made.
bool openGlTestSurface(ScreenSurface& surface, int width, int height);

// A 64 x 48 saver window set up as the saver's start-up does, on the GL path or (gl false) the
// software path, and appended to `surfaces`: tearDownSurfaces releases it.
ScreenSurface* addSaverSurface(bool gl);

// Points the temporary directory (and so the diagnostic log) at the process's own folder, emptied
// on every call and removed when the process ends; returns the log file's path.
std::wstring redirectTempDirectory();

// The diagnostic log's whole text, or an empty string when the file does not exist.
std::string readLogFile(const std::wstring& path);
