#include "shell/main_loop.h"
#include "shell/saver_clock.h"
#include "support/test_windows.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<UINT> received;

LRESULT CALLBACK recordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_APP) {
        received.push_back(message);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST(MainLoop, DispatchesEveryPendingMessageAndStopsAtQuitWithoutDispatchingIt) {
    startSaverClock();
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = recordingProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"OrvaneLoopTest";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, L"OrvaneLoopTest", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    received.clear();
    PostMessageW(window, WM_APP + 1, 0, 0);
    PostMessageW(window, WM_APP + 2, 0, 0);
    PostMessageW(window, WM_APP + 3, 0, 0);
    PostQuitMessage(0);
    runMainLoop();
    EXPECT_EQ(received, (std::vector<UINT>{WM_APP + 1, WM_APP + 2, WM_APP + 3}));
    MSG message;
    EXPECT_FALSE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the loop took the quit";
    DestroyWindow(window);
}

double processorSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](FILETIME time) {
        return (static_cast<double>(time.dwHighDateTime) * 4294967296.0 + time.dwLowDateTime) * 1e-7;
    };
    return seconds(kernel) + seconds(user);
}

TEST(MainLoop, IdlePassesSleepInsteadOfSpinning) {
    startSaverClock();
    // Quit after about half a second, from inside the loop's own message handling.
    const UINT_PTR timer = SetTimer(nullptr, 0, 500, [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(0); });
    const double start = readSaverClock();
    const double processorStart = processorSeconds();
    runMainLoop();
    KillTimer(nullptr, timer);
    const double elapsed = readSaverClock() - start;
    const double busy = processorSeconds() - processorStart;
    EXPECT_GE(elapsed, 0.45);
    EXPECT_LT(elapsed, 2.0);
    EXPECT_LT(busy, 0.3 * elapsed) << "the loop must yield the processor between passes";
}

TEST(MainLoop, SoftwareFramesAreDueOnTheFirstPassThenAtMostEveryThirtiethOfASecond) {
    EXPECT_TRUE(drawPass(0.0, -1.0));
    EXPECT_FALSE(drawPass(1.0 / 60.0, 0.0));
    EXPECT_TRUE(drawPass(2.0 / 60.0, 0.0));
}

} // namespace
