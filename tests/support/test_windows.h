#pragma once

#include "common/offscreen_frame.h"
#include "shell/saver.h"

#include <string>

// A hidden window with the saver's OpenGL 3.3 core context current and the renderer's entry points
// loaded, as the set-up's first stage leaves them. False, with the frame closed, when there is no
// such context. closeOffscreenFrame releases it.
bool openGlTestContext(OffscreenFrame& frame, int width, int height);

// GDI+ started (once for the process) and the pictures decoded, as the saver's entry has them
// before any window.
const Pictures& testPictures();

// A hidden saver window of `saver` with its pictures, set up as the saver's start-up does, on the GL
// path or (gl false) the software path, and listed: tearDownWindows releases it.
SaverWindow* addSaverWindow(Saver& saver, bool gl, int width = 64, int height = 48);

// A saver for in-process tests: this module as its instance (the saver's class registered), the
// saver clock started, the pictures of testPictures.
Saver testSaver(bool preview = false);

// Points the temporary directory (and so the diagnostic log) at the process's own folder, emptied
// on every call and removed when the process ends; returns the log file's path.
std::wstring redirectTempDirectory();

// The diagnostic log's whole text, or an empty string when the file does not exist.
std::string readLogFile(const std::wstring& path);
