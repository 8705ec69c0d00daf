#pragma once

#include "assets/pictures.h"
#include "base/saver_clock.h"
#include "base/window_surface.h"
#include "gl/gl_renderer.h"
#include "shell/system_notices.h"
#include "software/software_renderer.h"

#include <windows.h>

#include <vector>

struct Saver;

// Where a saver window goes and how it looks.
struct WindowPlacement {
    DWORD exStyle = 0;
    DWORD style = 0;
    const wchar_t* title = L"";
    RECT rect = {}; // the monitor's full rectangle, or the preview's client rectangle
    HWND parent = nullptr;
};

// One saver window: a full-screen popup on a monitor or the preview child, what it registered, and
// the renderer it draws with: GL, software, or none when both set-ups failed.
struct SaverWindow {
    Saver* saver = nullptr;
    WindowSurface surface;
    WindowPlacement placement; // kept, so that the window can be made anew in its place
    SystemNotices notices;
    GlRenderer* gl = nullptr;
    SoftwareRenderer* software = nullptr;
};

// The running saver, made by the entry and handed down; the window procedure reaches it through
// each window's record.
struct Saver {
    HINSTANCE instance = nullptr;
    bool preview = false;
    HWND previewHost = nullptr; // the host's pane in preview
    SaverClock clock;
    POINT startCursor = {};        // full screen: the reference of the mouse-movement rule
    bool startCursorKnown = false; // false until a cursor position could be read
    SystemConditions conditions;   // display, session and power as Windows reports them
    bool displaysChanged = false;  // full screen: the monitors are read again before the next pass
    bool vsyncOn = false;          // a GL window waits for the vertical blank
    Pictures pictures;
    std::vector<SaverWindow*> windows; // in creation order; owned until the teardown
};
