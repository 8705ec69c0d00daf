#include "shell/saver_windows.h"

#include "shell/saver_window.h"

BOOL CALLBACK addMonitorWindow(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MONITORINFO info = {};
    info.cbSize = sizeof(MONITORINFO);
    GetMonitorInfoW(monitor, &info);
    Saver& saver = *reinterpret_cast<Saver*>(data);
    // The full monitor, taskbar included.
    const WindowPlacement placement = {WS_EX_TOPMOST | WS_EX_TOOLWINDOW, WS_POPUP | WS_VISIBLE, L"Orvane",
                                       info.rcMonitor, nullptr};
    // A monitor whose window cannot be made simply stays without a saver window.
    if (SaverWindow* window = createSaverWindow(saver, placement)) {
        setUpSaverWindow(saver, window);
    }
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

bool addPreviewWindow(Saver& saver) {
    RECT client = {};
    GetClientRect(saver.previewHost, &client);
    const RECT rect = {0, 0, client.right < 2 ? 1 : client.right, client.bottom < 2 ? 1 : client.bottom};
    SaverWindow* window =
        createSaverWindow(saver, {0, WS_CHILD | WS_VISIBLE, L"Preview", rect, saver.previewHost});
    if (window == nullptr) {
        return false;
    }
    // Checked before the set-up: a host that went while the child was made leaves a child that never
    // saw WM_DESTROY, and a set-up on it would only fail.
    if (!previewStillHosted(window->surface.window, saver.previewHost)) {
        destroySaverWindow(window);
        return false;
    }
    setUpSaverWindow(saver, window);
    return true;
}
