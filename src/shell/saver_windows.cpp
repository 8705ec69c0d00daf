#include "shell/saver_windows.h"

#include "shell/platform_calls.h"
#include "shell/saver_window.h"

#include <algorithm>
#include <utility>

namespace {

// A topmost popup over the monitor's full rectangle, taskbar included, set up; null when the window
// cannot be made (that monitor simply stays without a saver window).
SaverWindow* addMonitorWindow(Saver& saver, const RECT& monitor) {
    const WindowPlacement placement = {WS_EX_TOPMOST | WS_EX_TOOLWINDOW, WS_POPUP | WS_VISIBLE, L"Orvane",
                                       monitor, nullptr};
    SaverWindow* window = createSaverWindow(saver, placement);
    if (window != nullptr) {
        setUpSaverWindow(saver, window);
    }
    return window;
}

} // namespace

bool followMonitors(Saver& saver) {
    std::vector<SaverWindow*> previous = std::move(saver.windows);
    saver.windows.clear();
    for (const RECT& monitor : platformCalls.monitorRects()) {
        const auto unchanged =
            std::find_if(previous.begin(), previous.end(), [&monitor](const SaverWindow* window) {
                return window != nullptr && EqualRect(&window->placement.rect, &monitor);
            });
        if (unchanged != previous.end()) {
            saver.windows.push_back(*unchanged);
            *unchanged = nullptr;
        } else if (SaverWindow* window = addMonitorWindow(saver, monitor)) {
            saver.windows.push_back(window);
        }
    }
    if (saver.windows.empty()) {
        // No monitor could be covered: the windows there were are better than none.
        saver.windows = std::move(previous);
        return !saver.windows.empty();
    }
    // Activation moves to a window that stays before any goes: the foreground window's destruction
    // would hand it to another program, and that ends the saver.
    SetForegroundWindow(saver.windows.front()->surface.window);
    for (SaverWindow* window : previous) {
        if (window != nullptr) {
            destroySaverWindow(window);
        }
    }
    return true;
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
    saver.windows.push_back(window);
    return true;
}
