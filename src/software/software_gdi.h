#pragma once

#include <windows.h>

// The GDI calls of the software path that can fail or that reach the window, taken through one
// table so that tests can make the set-up's device contexts and bitmaps fail and can watch the
// blits, and can check the teardown's releases. Tests that replace an entry put the original back.
struct SoftwareGdiCalls {
    HDC(WINAPI* createCompatibleDc)(HDC);
    HBITMAP(WINAPI* createDibSection)(HDC, const BITMAPINFO*, UINT, void**, HANDLE, DWORD);
    HGDIOBJ(WINAPI* selectObject)(HDC, HGDIOBJ);
    HDC(WINAPI* getDc)(HWND);
    int(WINAPI* releaseDc)(HWND, HDC);
    BOOL(WINAPI* bitBlt)(HDC, int, int, int, int, HDC, int, int, DWORD);
    BOOL(WINAPI* deleteDc)(HDC);
};

extern SoftwareGdiCalls softwareGdi;
