#pragma once

#include <windows.h>

// The platform calls of the GL context set-up, gathered in one table so that tests can make any
// of them fail: nothing outside the process makes a pixel format or a context fail on demand.
struct WglCalls {
    int(WINAPI* choosePixelFormat)(HDC dc, const PIXELFORMATDESCRIPTOR* descriptor);
    BOOL(WINAPI* setPixelFormat)(HDC dc, int format, const PIXELFORMATDESCRIPTOR* descriptor);
    HGLRC(WINAPI* createContext)(HDC dc);
    BOOL(WINAPI* makeCurrent)(HDC dc, HGLRC context);
    BOOL(WINAPI* deleteContext)(HGLRC context);
    PROC(WINAPI* getProcAddress)(LPCSTR name);
    PROC (*moduleProcAddress)(const char* name);
};

extern WglCalls wglCalls;

// The real platform functions; tests restore them after swapping entries.
WglCalls systemWglCalls();
