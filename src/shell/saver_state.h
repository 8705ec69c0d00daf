#pragma once

#include <windows.h>

#include <cstdint>

// Process-wide state of the running saver, set once by the entry before any window exists.
extern bool previewMode;
extern std::int64_t timerFrequency;
extern std::int64_t timerStart;
extern POINT startCursor;
extern bool vsyncOn;
// True while Windows reports the console display off; the main loop then draws nothing.
extern bool displayOff;
// The window that hosts the preview; null in full screen.
extern HWND previewHost;
