// loop_probe: the saver's own main loop on one full-size window, timed in-process under Wine, in
// turns with the power supply reported as AC and as battery (Wine reports neither).
//
//   loop_probe [--seconds S] [--turns N]
//
// Sets up like the saver's full-screen start (GDI+, the pictures, a topmost popup of the primary
// monitor's size, its renderer: GL, or software when Mesa offers no OpenGL 3.3), then runs the real
// loop for S seconds per turn (default 5), N turns (default 4), alternately on AC and on battery,
// the report delivered through the window procedure as Windows would. Prints per turn the CPU share
// (process CPU seconds / wall seconds) and the GL and software frames a second, and at the end the
// battery / AC ratio of the CPU shares. Exit code 0; 1 when no window could be set up.

#include "gl/wgl_calls.h"
#include "shell/main_loop.h"
#include "shell/saver_lifecycle.h"
#include "shell/saver_window.h"
#include "software/software_gdi.h"

#include <gdiplus.h>

#include <cstdio>
#include <cstring>
#include <cwchar>

namespace {

int glFrames = 0;
int softwareFrames = 0;

double processorSeconds() {
    FILETIME unused, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &unused, &unused, &kernel, &user);
    const auto seconds = [](FILETIME time) {
        return (static_cast<double>(time.dwHighDateTime) * 4294967296.0 + time.dwLowDateTime) * 1e-7;
    };
    return seconds(kernel) + seconds(user);
}

void reportPowerSource(HWND window, DWORD source) {
    POWERBROADCAST_SETTING setting = {GUID_ACDC_POWER_SOURCE, sizeof(DWORD), {}};
    std::memcpy(setting.Data, &source, sizeof source);
    SendMessageW(window, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(&setting));
}

// One turn of the real loop, ended by a thread timer; its CPU share.
double runTurn(Saver& saver, double seconds) {
    const UINT_PTR timer = SetTimer(nullptr, 0, static_cast<UINT>(seconds * 1000.0),
                                    [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(0); });
    glFrames = softwareFrames = 0;
    const double wallStart = readSaverClock(saver.clock), processorStart = processorSeconds();
    runMainLoop(saver);
    KillTimer(nullptr, timer);
    const double wall = readSaverClock(saver.clock) - wallStart;
    const double share = (processorSeconds() - processorStart) / wall;
    std::printf("%s: CPU share %.3f, GL frames %.1f/s, software frames %.1f/s\n",
                saver.conditions.onBattery ? "battery" : "AC     ", share, glFrames / wall,
                softwareFrames / wall);
    return share;
}

int probe(Saver& saver, double seconds, int turns) {
    const RECT monitor = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SaverWindow* window = createSaverWindow(
        saver, {WS_EX_TOPMOST | WS_EX_TOOLWINDOW, WS_POPUP | WS_VISIBLE, L"Orvane", monitor, nullptr});
    if (window == nullptr) {
        return 1;
    }
    setUpSaverWindow(saver, window);
    saver.windows.push_back(window);
    saver.startCursorKnown = GetCursorPos(&saver.startCursor) != FALSE;
    setUpSwapIntervals(saver);
    std::printf("%dx%d, %s path\n", window->surface.width, window->surface.height,
                window->gl != nullptr ? "GL" : "software");
    // Each frame of either path makes one call of these.
    wglCalls.makeCurrent = [](HDC dc, HGLRC context) {
        return glFrames += context != nullptr, wglMakeCurrent(dc, context);
    };
    softwareGdi.getDc = [](HWND handle) { return ++softwareFrames, GetDC(handle); };
    double shares[2] = {};
    for (int turn = 0; turn < turns; ++turn) {
        reportPowerSource(window->surface.window, turn % 2);
        shares[turn % 2] += runTurn(saver, seconds);
    }
    if (shares[0] > 0.0) {
        std::printf("battery / AC CPU share: %.3f\n", shares[1] / shares[0]);
    }
    tearDownWindows(saver);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    double seconds = 5.0;
    int turns = 4;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::wcscmp(argv[i], L"--seconds") == 0) {
            seconds = std::wcstod(argv[i + 1], nullptr);
        } else if (std::wcscmp(argv[i], L"--turns") == 0) {
            turns = static_cast<int>(std::wcstol(argv[i + 1], nullptr, 10));
        }
    }
    if (seconds <= 0.0 || turns < 1) {
        std::printf("usage: loop_probe [--seconds S] [--turns N]\n");
        return 2;
    }
    Gdiplus::GdiplusStartupInput startupInput;
    ULONG_PTR gdiplusToken = 0;
    if (Gdiplus::GdiplusStartup(&gdiplusToken, &startupInput, nullptr) != Gdiplus::Ok) {
        return 1;
    }
    Saver saver;
    saver.instance = GetModuleHandleW(nullptr);
    saver.clock = startSaverClock();
    decodeEmbeddedPictures(saver.pictures);
    registerSaverClass(saver.instance);
    const int status = probe(saver, seconds, turns);
    releaseEmbeddedPictures(saver.pictures);
    Gdiplus::GdiplusShutdown(gdiplusToken);
    return status;
}
