#include "shell/window_proc.h"

#include "shell/saver_window.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr int cursorTolerance = 8;

LRESULT quit() {
    PostQuitMessage(0);
    return 0;
}

// Key presses, button presses and the wheel: each ends a full-screen saver.
bool isPressOrWheel(UINT message) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_MOUSEWHEEL:
    case WM_XBUTTONDOWN:
        return true;
    default:
        return false;
    }
}

// Full screen: any key, button, wheel, real mouse movement or switch to another program ends the saver.
LRESULT fullScreenMessage(const Saver& saver, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (isPressOrWheel(message)) {
        return quit();
    }
    switch (message) {
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
        // The message's own coordinates are window-relative; the rule is about the screen cursor.
        POINT now = {};
        GetCursorPos(&now);
        if (cursorLeftStartArea(saver.startCursor, now)) {
            PostQuitMessage(0);
        }
        return 0;
    }
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

namespace {

// A console display state of 0 turns displayOff on; 1 (on) or 2 (dimmed, still seen) turn it off.
void noteDisplayState(Saver& saver, WPARAM event, LPARAM data) {
    const auto* setting = reinterpret_cast<const POWERBROADCAST_SETTING*>(data);
    if (event == PBT_POWERSETTINGCHANGE && setting != nullptr &&
        IsEqualGUID(setting->PowerSetting, GUID_CONSOLE_DISPLAY_STATE) &&
        setting->DataLength >= sizeof(DWORD)) {
        DWORD state = 0; // 0 off, 1 on, 2 dimmed (still seen)
        std::memcpy(&state, setting->Data, sizeof state);
        saver.displayOff = state == 0;
    }
}

} // namespace

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
        noteDisplayState(saver, wParam, lParam);
        return TRUE;
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
