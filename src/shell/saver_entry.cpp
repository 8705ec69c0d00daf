#include "shell/saver_entry.h"

#include "shell/command_line.h"
#include "shell/main_loop.h"
#include "shell/platform_calls.h"
#include "shell/saver_lifecycle.h"
#include "shell/saver_window.h"
#include "shell/saver_windows.h"

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

bool createWindows(Saver& saver) {
    if (saver.preview) {
        return addPreviewWindow(saver);
    }
    // Where the cursor cannot be read (a secure desktop, a minimised remote client) the first
    // position that can be read becomes the start point.
    saver.startCursorKnown = platformCalls.getCursorPos(&saver.startCursor) != FALSE;
    return followMonitors(saver);
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
    Saver saver;
    saver.instance = instance;
    saver.preview = command.mode == SaverMode::Preview;
    saver.previewHost = saver.preview ? reinterpret_cast<HWND>(command.hostWindow) : nullptr;
    if (saver.preview && !canHostPreview(saver.previewHost)) {
        return 0;
    }
    // Physical pixels everywhere; the manifest's per-monitor declaration takes precedence.
    SetProcessDPIAware();
    saver.clock = startSaverClock();

    Gdiplus::GdiplusStartupInput startupInput;
    ULONG_PTR gdiplusToken = 0;
    if (Gdiplus::GdiplusStartup(&gdiplusToken, &startupInput, nullptr) != Gdiplus::Ok) {
        return 1;
    }
    decodeEmbeddedPictures(saver.pictures);
    registerSaverClass(instance);
    // Without a window there is nothing to show: the saver ends, releasing what it made.
    if (createWindows(saver)) {
        setUpSwapIntervals(saver);
        runMainLoop(saver);
    }
    tearDownWindows(saver);
    releaseEmbeddedPictures(saver.pictures);
    Gdiplus::GdiplusShutdown(gdiplusToken);
    return 0;
}
