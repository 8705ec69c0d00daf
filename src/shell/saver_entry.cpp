#include "shell/saver_entry.h"

#include "assets/pictures.h"
#include "shell/command_line.h"
#include "shell/main_loop.h"
#include "shell/saver_clock.h"
#include "shell/saver_lifecycle.h"
#include "shell/saver_state.h"
#include "shell/saver_windows.h"
#include "shell/screen_surface.h"

#include <gdiplus.h>

const wchar_t settingsMessage[] = L"This screen saver has no settings.\n\n"
                                  L"Change the wait time in Windows Screen Saver Settings.\n\n"
                                  L"Need help? Call Orvane on +1 800 555 0199\n"
                                  L"support@orvane.example";

namespace {

int showSettings() {
    MessageBoxW(nullptr, settingsMessage, L"Orvane", MB_ICONINFORMATION);
    return 0;
}

bool createWindows(const SaverCommand& command, HINSTANCE instance) {
    if (command.mode == SaverMode::Preview) {
        previewHost = reinterpret_cast<HWND>(command.hostWindow);
        return addPreviewWindow(previewHost, instance);
    }
    GetCursorPos(&startCursor);
    EnumDisplayMonitors(nullptr, nullptr, addMonitorWindow, reinterpret_cast<LPARAM>(instance));
    if (surfaces.empty()) {
        return false;
    }
    SetForegroundWindow(surfaces.front()->window);
    return true;
}

} // namespace

int runSaver(HINSTANCE instance, const wchar_t* arguments) {
    const SaverCommand command = parseCommandLine(arguments);
    if (command.mode == SaverMode::Password) {
        return 0;
    }
    if (command.mode == SaverMode::Settings) {
        return showSettings();
    }
    previewMode = command.mode == SaverMode::Preview;
    if (previewMode && !canHostPreview(reinterpret_cast<HWND>(command.hostWindow))) {
        return 0;
    }
    // Physical pixels everywhere; the manifest's per-monitor declaration takes precedence.
    SetProcessDPIAware();
    startSaverClock();

    Gdiplus::GdiplusStartupInput startupInput;
    ULONG_PTR gdiplusToken = 0;
    if (Gdiplus::GdiplusStartup(&gdiplusToken, &startupInput, nullptr) != Gdiplus::Ok) {
        return 1;
    }
    decodeEmbeddedPictures();
    registerSaverClass(instance);
    // Without a window there is nothing to show: the saver ends, releasing what it made.
    if (createWindows(command, instance)) {
        setUpSwapIntervals();
        runMainLoop();
    }
    tearDownSurfaces();
    releaseEmbeddedPictures();
    Gdiplus::GdiplusShutdown(gdiplusToken);
    return 0;
}
