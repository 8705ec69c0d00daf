#pragma once

#include <windows.h>

#include <vector>

// The shell's calls to Windows that tests must steer or watch: what Wine never reports (a changed
// monitor list, a cursor that cannot be read) and what is registered and must be undone.
struct PlatformCalls {
    std::vector<RECT> (*monitorRects)(); // every monitor's full rectangle, in enumeration order
    BOOL(WINAPI* getCursorPos)(POINT* position);
    HPOWERNOTIFY(WINAPI* registerPowerNotification)(HANDLE window, const GUID* setting, DWORD flags);
    BOOL(WINAPI* unregisterPowerNotification)(HPOWERNOTIFY notification);
    BOOL(WINAPI* registerSessionNotification)(HWND window, DWORD flags);
    BOOL(WINAPI* unregisterSessionNotification)(HWND window);
};

extern PlatformCalls platformCalls;

// The real platform functions; tests restore them after swapping entries.
PlatformCalls systemPlatformCalls();
