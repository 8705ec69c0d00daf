#include "gl/wgl_calls.h"
#include "shell/main_loop.h"
#include "shell/saver_lifecycle.h"
#include "software/software_gdi.h"
#include "support/test_windows.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>

static int frames = 0;

static double processorSeconds() {
    FILETIME unused, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &unused, &unused, &kernel, &user);
    const double high = static_cast<double>(kernel.dwHighDateTime) + user.dwHighDateTime;
    return (high * 4294967296.0 + kernel.dwLowDateTime + user.dwLowDateTime) * 1e-7;
}

// Windows' report of the console display state, delivered to a real saver window.
static void reportDisplay(HWND window, DWORD state) {
    POWERBROADCAST_SETTING setting = {GUID_CONSOLE_DISPLAY_STATE, sizeof(DWORD), {}};
    std::memcpy(setting.Data, &state, sizeof state);
    SendMessageW(window, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(&setting));
}

// Runs the real loop until `message` (posted after `milliseconds`) ends it; its wall and CPU seconds.
static std::pair<double, double> runLoopUntil(Saver& saver, HWND window, UINT message, UINT milliseconds) {
    static std::pair<HWND, UINT> ending;
    ending = {window, message};
    const UINT_PTR timer = SetTimer(nullptr, 0, milliseconds, [](HWND, UINT, UINT_PTR, DWORD) {
        PostMessageW(ending.first, ending.second, 0, 0);
    });
    const double start = readSaverClock(saver.clock), processor = processorSeconds();
    runMainLoop(saver);
    KillTimer(nullptr, timer);
    return {readSaverClock(saver.clock) - start, processorSeconds() - processor};
}

// While the display is off nothing is drawn and the loop waits instead of pacing; a key still ends
// the saver, and once the display is back the frames come again at once.
TEST(MainLoop, DrawsNothingAndWaitsWhileTheDisplayIsOff) {
    Saver saver = testSaver();
    const HWND window = addSaverWindow(saver, false)->surface.window;
    const SoftwareGdiCalls real = softwareGdi;
    // A software frame takes the window's DC once, whatever part of the window it redraws.
    softwareGdi.getDc = [](HWND window) { return ++frames, GetDC(window); };
    reportDisplay(window, 0);
    const auto [offWall, offProcessor] = runLoopUntil(saver, window, WM_KEYDOWN, 400);
    EXPECT_EQ(frames, 0);
    EXPECT_LT(offWall, 1.0) << "a key ends the saver while the display is off";
    EXPECT_LT(offProcessor, 0.05) << "no busy loop";
    reportDisplay(window, 2); // dimmed is still seen
    runLoopUntil(saver, window, WM_CLOSE, 300);
    EXPECT_GT(frames, 3);
    softwareGdi = real;
    tearDownWindows(saver);
}

// A window whose context cannot be made current is skipped, in the swap-interval set-up and in every
// pass, rather than drawn into whatever context is current.
TEST(MainLoop, AWindowWhoseContextCannotBeMadeCurrentIsSkipped) {
    Saver saver = testSaver();
    GlFunctions& gl = addSaverWindow(saver, true)->gl->gl;
    static int programs = 0, intervals = 0;
    gl.glUseProgram = [](GLuint) { ++programs; };
    gl.wglSwapIntervalEXT = [](int) { return ++intervals, TRUE; };
    wglCalls.makeCurrent = [](HDC, HGLRC) { return FALSE; };
    setUpSwapIntervals(saver);
    drawPass(saver, 5.0, 4.99);
    wglCalls = systemWglCalls();
    EXPECT_EQ(std::pair(intervals, programs), std::pair(0, 0)) << "swap intervals set, programs used";
    EXPECT_FALSE(saver.vsyncOn);
    tearDownWindows(saver);
}

// A preview whose host goes without a word to the child (its process killed) ends by itself in the
// next pass instead of drawing into nothing for good.
TEST(MainLoop, APreviewEndsOnceItsHostIsGone) {
    Saver saver = testSaver(true);
    addSaverWindow(saver, false);
    // A host of another class: destroying it sends the saver nothing.
    saver.previewHost = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 8, 8, nullptr, nullptr, nullptr, nullptr);
    const UINT_PTR guard =
        SetTimer(nullptr, 0, 3000, [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(0); });
    const double wall = runLoopUntil(saver, saver.previewHost, WM_CLOSE, 200).first;
    KillTimer(nullptr, guard);
    EXPECT_FALSE(IsWindow(saver.previewHost));
    EXPECT_LT(wall, 1.0) << "the loop went on after the host was gone";
    tearDownWindows(saver);
}
