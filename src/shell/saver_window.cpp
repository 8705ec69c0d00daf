#include "shell/saver_window.h"

#include "base/layout.h"
#include "shell/window_proc.h"
#include "software/software_gdi.h"

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

// The record rides along as the creation parameter, so the window procedure has it from the
// window's first messages on.
HWND createWindowFor(const Saver& saver, SaverWindow& record) {
    const WindowPlacement& placement = record.placement;
    const RECT& rect = placement.rect;
    return CreateWindowExW(placement.exStyle, saverClassName, placement.title, placement.style, rect.left,
                           rect.top, rect.right - rect.left, rect.bottom - rect.top, placement.parent,
                           nullptr, saver.instance, &record);
}

// The window's last messages must not find the record.
void destroyWindowOf(HWND window) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
}

} // namespace

SaverWindow* createSaverWindow(Saver& saver, const WindowPlacement& placement) {
    auto* record = new SaverWindow();
    record->saver = &saver;
    record->placement = placement;
    record->surface.width = placement.rect.right - placement.rect.left;
    record->surface.height = placement.rect.bottom - placement.rect.top;
    record->surface.window = createWindowFor(saver, *record);
    if (record->surface.window == nullptr) {
        delete record;
        return nullptr;
    }
    return record;
}

namespace {

// A window without a pixel format in place of one that has one. The new window is made and
// activated first, so that activation passes between this program's own windows; if it cannot be
// made, the old one stays.
void remakeWithoutPixelFormat(const Saver& saver, SaverWindow& window) {
    WindowSurface& surface = window.surface;
    if (GetPixelFormat(surface.dc) == 0) {
        return;
    }
    const HWND fresh = createWindowFor(saver, window);
    if (fresh == nullptr) {
        return;
    }
    if (window.placement.parent == nullptr) {
        // The old window may be the active one: were it to go first, Windows would activate
        // another program's window, and that ends the saver.
        SetForegroundWindow(fresh);
    }
    softwareGdi.releaseDc(surface.window, surface.dc);
    destroyWindowOf(surface.window);
    surface.window = fresh;
    surface.dc = GetDC(fresh);
}

// The one place that decides what a window draws with.
void createRenderer(const Saver& saver, SaverWindow& window) {
    auto* gl = new GlRenderer();
    if (createGlRenderer(*gl, window.surface, saver.pictures)) {
        window.gl = gl;
        return;
    }
    delete gl;
    remakeWithoutPixelFormat(saver, window);
    auto* software = new SoftwareRenderer();
    if (createSoftwareRenderer(*software, window.surface, saver.pictures, saver.preview)) {
        window.software = software;
        return;
    }
    delete software;
}

void destroyRenderer(SaverWindow& window) {
    if (window.gl != nullptr) {
        destroyGlRenderer(*window.gl);
        delete window.gl;
        window.gl = nullptr;
    }
    if (window.software != nullptr) {
        destroySoftwareRenderer(*window.software);
        delete window.software;
        window.software = nullptr;
    }
}

} // namespace

void setUpSaverWindow(const Saver& saver, SaverWindow* window) {
    WindowSurface& surface = window->surface;
    surface.dc = GetDC(surface.window);
    surface.scale = layoutScale(surface.width, surface.height);
    createRenderer(saver, *window);
    // Told when the display goes off, the session is locked or left, and the power supply changes.
    registerSystemNotices(window->notices, surface.window);
}

void renewRenderer(const Saver& saver, SaverWindow& window) {
    // The notices go to a window handle, and the window may be made anew: they are registered again
    // for the window that draws from now on.
    unregisterSystemNotices(window.notices, window.surface.window);
    destroyRenderer(window);
    createRenderer(saver, window);
    registerSystemNotices(window.notices, window.surface.window);
}

// The releases go through the call tables so that a test can check what was released, and in
// which order.
void destroySaverWindow(SaverWindow* window) {
    destroyRenderer(*window);
    WindowSurface& surface = window->surface;
    if (surface.dc != nullptr) {
        softwareGdi.releaseDc(surface.window, surface.dc);
    }
    unregisterSystemNotices(window->notices, surface.window);
    // The host may already have destroyed a preview child.
    if (surface.window != nullptr && IsWindow(surface.window)) {
        destroyWindowOf(surface.window);
    }
    delete window;
}

SaverWindow* saverWindowOf(HWND window) {
    return reinterpret_cast<SaverWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}
