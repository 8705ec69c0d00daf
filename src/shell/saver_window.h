#pragma once

#include "shell/saver.h"

constexpr const wchar_t* saverClassName = L"OrvaneSaver3D";

// Registers the one window class of the saver (own dc per window, arrow cursor, black background).
void registerSaverClass(HINSTANCE instance);

// Where a saver window goes and how it looks.
struct WindowPlacement {
    DWORD exStyle = 0;
    DWORD style = 0;
    const wchar_t* title = L"";
    RECT rect = {};
    HWND parent = nullptr;
};

// Makes the window and its record, which the window procedure finds through the window from its
// first message on; null when the window cannot be made.
SaverWindow* createSaverWindow(Saver& saver, const WindowPlacement& placement);

// Sets a made window up: its notices of display, session and power, dc and layout scale, then its
// renderer: GL first, and the software renderer when any GL set-up step fails (each failure
// writes its log line). The caller lists it.
void setUpSaverWindow(const Saver& saver, SaverWindow* window);

// The set-up's mirror: the renderer, the dc, the notices, the window (unless it is gone already, as
// a preview's child may be), then the record.
void destroySaverWindow(SaverWindow* window);

// The saver window a window procedure call is for; null before the record is attached.
SaverWindow* saverWindowOf(HWND window);
