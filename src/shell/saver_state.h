#pragma once

#include <windows.h>

#include <cstdint>

// Process-wide state of the running saver, set once by the entry before any window exists.
extern bool previewMode;
extern std::int64_t timerFrequency;
extern std::int64_t timerStart;
extern POINT startCursor;
extern bool vsyncOn;
