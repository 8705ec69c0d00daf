#include "shell/saver_state.h"

#include "shell/screen_surface.h"

bool previewMode = false;
std::int64_t timerFrequency = 0;
std::int64_t timerStart = 0;
POINT startCursor = {0, 0};
bool vsyncOn = false;
bool displayOff = false;
HWND previewHost = nullptr;
std::vector<ScreenSurface*> surfaces;
