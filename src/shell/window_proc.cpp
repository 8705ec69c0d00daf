#include "shell/window_proc.h"

#include "shell/platform_calls.h"
#include "shell/saver_window.h"

#include <windowsx.h>

#include <cstdlib>

namespace {

constexpr int cursorTolerance = 8;

LRESULT quit() {
    PostQuitMessage(0);
    return 0;
}

// Key presses, button presses, both wheels and a touch or pen coming down: each ends a full-screen
// saver. A finger's swipe sends no mouse input at all, only its pointer and gesture messages.
bool isPressOrWheel(UINT message) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_MOUSEWHEEL:
    case WM_XBUTTONDOWN:
    case WM_MOUSEHWHEEL:
    case WM_POINTERDOWN:
        return true;
    default:
        return false;
    }
}

// The mouse rule on a cursor position in screen pixels. Until a start point could be read, the first
// position becomes it: a cursor that could not be read is no movement.
void noteCursor(Saver& saver, POINT now) {
    if (!saver.startCursorKnown) {
        saver.startCursor = now;
        saver.startCursorKnown = true;
    } else if (cursorLeftStartArea(saver.startCursor, now)) {
        PostQuitMessage(0);
    }
}

// Full screen: any key, button, wheel, touch, real mouse or pen movement or switch to another program
// ends the saver.
LRESULT fullScreenMessage(Saver& saver, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (isPressOrWheel(message)) {
        return quit();
    }
    switch (message) {
    case WM_TOUCH:
    case WM_GESTURE:
        // Passed on as well: the default handling closes the message's input handle.
        PostQuitMessage(0);
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_DISPLAYCHANGE:
    case WM_DPICHANGED:
        // Every top-level window hears of the change; the loop follows it once, before its next pass.
        saver.displaysChanged = true;
        return 0;
    case WM_DESTROY:
        return 0;
    case WM_ACTIVATEAPP:
        if (wParam == 0) {
            PostQuitMessage(0);
        }
        return 0;
    case WM_SETCURSOR:
        SetCursor(nullptr);
        return 1;
    case WM_MOUSEMOVE: {
        // The rule is about the screen cursor; the message's own window-relative position stands in
        // when the cursor cannot be read.
        POINT now = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (!platformCalls.getCursorPos(&now)) {
            ClientToScreen(window, &now);
        }
        noteCursor(saver, now);
        return 0;
    }
    case WM_POINTERUPDATE:
        // A hovering pen moves the cursor; pointer positions are in screen pixels already.
        noteCursor(saver, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_SYSCOMMAND: {
        const WPARAM command = wParam & 0xFFF0;
        if (command == SC_CLOSE || command == SC_SCREENSAVE) {
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

// Preview: the host owns the input; only the host closing or destroying the child ends the saver.
LRESULT previewMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // A dying host process takes its children with WM_NCDESTROY alone, and a child destroyed while
    // still inside CreateWindowExW never sees WM_DESTROY: either message ends the saver.
    if (message == WM_DESTROY || message == WM_NCDESTROY) {
        quit();
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (isPressOrWheel(message) || message == WM_MOUSEMOVE || message == WM_ACTIVATEAPP) {
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

bool cursorLeftStartArea(POINT start, POINT now) {
    const long long dx = std::llabs(static_cast<long long>(now.x) - start.x);
    const long long dy = std::llabs(static_cast<long long>(now.y) - start.y);
    return dx > cursorTolerance || dy > cursorTolerance;
}

LRESULT CALLBACK saverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    SaverWindow* record = saverWindowOf(window);
    if (record == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    Saver& saver = *record->saver;
    switch (message) {
    case WM_POWERBROADCAST:
        notePowerSetting(saver.conditions, wParam, lParam);
        return TRUE;
    case WM_WTSSESSION_CHANGE:
        noteSessionChange(saver.conditions, wParam);
        return 0;
    case WM_PAINT: {
        // Drawing happens in the main loop; painting validates, and as what was uncovered holds no
        // frame, the next software frame shows the whole window.
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        if (record->software != nullptr) {
            repaintSoftwareFrame(*record->software);
        }
        return 0;
    }
    case WM_CLOSE:
        return quit();
    case WM_ERASEBKGND:
        return 1;
    default:
        return saver.preview ? previewMessage(window, message, wParam, lParam)
                             : fullScreenMessage(saver, window, message, wParam, lParam);
    }
}
