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

SaverWindow* createSaverWindow(Saver& saver, const WindowPlacement& placement) {
    auto* record = new SaverWindow();
    record->saver = &saver;
    const RECT& rect = placement.rect;
    record->placement = rect;
    record->surface.width = rect.right - rect.left;
    record->surface.height = rect.bottom - rect.top;
    // The record rides along as the creation parameter, so the window procedure has it from the
    // window's first messages on.
    record->surface.window = CreateWindowExW(
        placement.exStyle, saverClassName, placement.title, placement.style, rect.left, rect.top,
        record->surface.width, record->surface.height, placement.parent, nullptr, saver.instance, record);
    if (record->surface.window == nullptr) {
        delete record;
        return nullptr;
    }
    return record;
}

namespace {

// The one place that decides what a window draws with.
void createRenderer(const Saver& saver, SaverWindow& window) {
    auto* gl = new GlRenderer();
    if (createGlRenderer(*gl, window.surface, saver.pictures)) {
        window.gl = gl;
        return;
    }
    delete gl;
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
    // Told when the display goes off, the session is locked or left, and the power supply changes.
    registerSystemNotices(window->notices, surface.window);
    surface.dc = GetDC(surface.window);
    surface.scale = layoutScale(surface.width, surface.height);
    createRenderer(saver, *window);
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
        // The window outlives its record by its last messages: they must not find it.
        SetWindowLongPtrW(surface.window, GWLP_USERDATA, 0);
        DestroyWindow(surface.window);
    }
    delete window;
}

SaverWindow* saverWindowOf(HWND window) {
    return reinterpret_cast<SaverWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}
