#include "shell/saver_windows.h"

#include "gl/surface_setup.h"
#include "shell/screen_surface.h"
#include "shell/window_proc.h"

void registerSaverClass(HINSTANCE instance) {
    WNDCLASSW windowClass = {};
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = saverWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = saverClassName;
    RegisterClassW(&windowClass);
}

namespace {

// A record whose window could not be created is dropped; otherwise it is set up and listed.
bool adoptSurface(ScreenSurface* surface) {
    if (surface->window == nullptr) {
        delete surface;
        return false;
    }
    // Told when the display goes off and on, so that no frame is drawn while nobody can see it.
    surface->displayNotification = RegisterPowerSettingNotification(
        surface->window, &GUID_CONSOLE_DISPLAY_STATE, DEVICE_NOTIFY_WINDOW_HANDLE);
    initSurface(*surface);
    surfaces.push_back(surface);
    return true;
}

} // namespace

BOOL CALLBACK addMonitorWindow(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MONITORINFO info = {};
    info.cbSize = sizeof(MONITORINFO);
    GetMonitorInfoW(monitor, &info);
    const RECT& area = info.rcMonitor; // the full monitor, taskbar included

    auto* surface = new ScreenSurface();
    surface->width = area.right - area.left;
    surface->height = area.bottom - area.top;
    surface->window =
        CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, saverClassName, L"Orvane", WS_POPUP | WS_VISIBLE,
                        area.left, area.top, surface->width, surface->height, nullptr, nullptr,
                        reinterpret_cast<HINSTANCE>(data), nullptr);
    // A monitor whose window cannot be made simply stays without a saver window.
    adoptSurface(surface);
    return TRUE;
}

bool canHostPreview(HWND host) {
    if (!IsWindow(host)) {
        return false;
    }
    // Compared through the root window: a host number may be a short form of the handle ("/p 32"
    // names the desktop), and children of the shell's window (the desktop icons) are no pane either.
    const HWND root = GetAncestor(host, GA_ROOT);
    // A pane belongs to a window on this desktop: a message-only window (the clipboard's, OLE's) has
    // the message root as its parent and is never seen.
    return root != nullptr && root != GetDesktopWindow() && root != GetShellWindow() &&
           GetAncestor(root, GA_PARENT) == GetDesktopWindow();
}

bool previewStillHosted(HWND child, HWND host) {
    return IsWindow(child) && IsWindow(host);
}

bool addPreviewWindow(HWND host, HINSTANCE instance) {
    RECT client = {};
    GetClientRect(host, &client);
    auto* surface = new ScreenSurface();
    surface->width = client.right < 2 ? 1 : client.right;
    surface->height = client.bottom < 2 ? 1 : client.bottom;
    surface->window = CreateWindowExW(0, saverClassName, L"Preview", WS_CHILD | WS_VISIBLE, 0, 0,
                                      surface->width, surface->height, host, nullptr, instance, nullptr);
    if (surface->window != nullptr && !previewStillHosted(surface->window, host)) {
        if (IsWindow(surface->window)) {
            DestroyWindow(surface->window);
        }
        surface->window = nullptr;
    }
    return adoptSurface(surface);
}
