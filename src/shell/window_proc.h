#pragma once

#include <windows.h>

// The saver ends once the cursor is more than 8 pixels from where it was at start, in either axis.
bool cursorLeftStartArea(POINT start, POINT now);

LRESULT CALLBACK saverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
