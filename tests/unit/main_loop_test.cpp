#include "gl/wgl_calls.h"
#include "shell/main_loop.h"
#include "shell/platform_calls.h"
#include "shell/saver_lifecycle.h"
#include "shell/saver_windows.h"
#include "software/software_gdi.h"
#include "support/test_windows.h"

#include <gtest/gtest.h>

#include <wtsapi32.h>

#include <cstring>
#include <set>
#include <vector>
#include <utility>

static int frames = 0;

static double processorSeconds() {
    FILETIME unused, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &unused, &unused, &kernel, &user);
    const double high = static_cast<double>(kernel.dwHighDateTime) + user.dwHighDateTime;
    return (high * 4294967296.0 + kernel.dwLowDateTime + user.dwLowDateTime) * 1e-7;
}

// A power setting's report, as Windows delivers it to a real saver window.
static void reportSetting(HWND window, const GUID& setting, DWORD value) {
    POWERBROADCAST_SETTING report = {setting, sizeof(DWORD), {}};
    std::memcpy(report.Data, &value, sizeof value);
    SendMessageW(window, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(&report));
}

// Runs the real loop until `message` (posted after `milliseconds`) ends it, or at the latest for 3 s;
// its wall and CPU seconds.
static std::pair<double, double> runLoopUntil(Saver& saver, HWND window, UINT message, UINT milliseconds) {
    static std::pair<HWND, UINT> ending;
    ending = {window, message};
    const UINT_PTR timer = SetTimer(nullptr, 0, milliseconds, [](HWND, UINT, UINT_PTR, DWORD) {
        PostMessageW(ending.first, ending.second, 0, 0);
    });
    const UINT_PTR guard =
        SetTimer(nullptr, 0, 3000, [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(0); });
    const double start = readSaverClock(saver.clock), processor = processorSeconds();
    runMainLoop(saver);
    KillTimer(nullptr, timer);
    KillTimer(nullptr, guard);
    return {readSaverClock(saver.clock) - start, processorSeconds() - processor};
}

// While the session's display is off, or the session is locked or left, nothing is drawn and the
// loop waits instead of pacing; a key still ends the saver, and once it is seen again frames come at
// once. The console's display is another session's business.
TEST(MainLoop, DrawsNothingWhileNobodyCanSeeItAndHalvesTheGlRateWhileSavingPower) {
    Saver saver = testSaver();
    const HWND window = addSaverWindow(saver, false)->surface.window;
    const SoftwareGdiCalls real = softwareGdi;
    // A software frame takes the window's DC once, whatever part of the window it redraws; the first
    // frame ends the loop, so that the count cannot depend on how loaded the machine is.
    softwareGdi.getDc = [](HWND window) {
        return ++frames, PostMessageW(window, WM_CLOSE, 0, 0), GetDC(window);
    };
    // Session changes that hide the session, and show it again; 0: the session's display goes off (0)
    // and comes back (2).
    const std::pair<WPARAM, WPARAM> changes[] = {{0, 0},
                                                 {WTS_SESSION_LOCK, WTS_SESSION_UNLOCK},
                                                 {WTS_REMOTE_DISCONNECT, WTS_REMOTE_CONNECT},
                                                 {WTS_CONSOLE_DISCONNECT, WTS_CONSOLE_CONNECT}};
    const auto note = [window](WPARAM change, DWORD display) {
        change == 0 ? reportSetting(window, GUID_SESSION_DISPLAY_STATUS, display)
                    : void(SendMessageW(window, WM_WTSSESSION_CHANGE, change, 1));
    };
    for (const auto& [hide, show] : changes) {
        note(hide, 0);
        frames = 0;
        const auto [wall, processor] = runLoopUntil(saver, window, WM_KEYDOWN, 300);
        EXPECT_EQ(frames, 0);
        EXPECT_LT(wall, 1.0) << "a key ends the saver while nothing is seen";
        EXPECT_LT(processor, 0.05) << "no busy loop";
        note(show, 2);
        reportSetting(window, GUID_CONSOLE_DISPLAY_STATE, 0);
        runLoopUntil(saver, window, WM_KEYDOWN, 2000);
        EXPECT_EQ(frames, 1) << "frames once seen";
    }
    softwareGdi = real;
    // Battery, battery saver and energy saver each halve the GL rate until all are off; another
    // setting's report changes nothing.
    const GUID powerSaving = {0xe00958c0, 0xc213, 0x4ace, {0xac, 0x77, 0xfe, 0xcc, 0xed, 0x2e, 0xee, 0xa5}};
    const GUID energySaver = {0x550e8400, 0xe29b, 0x41d4, {0xa7, 0x16, 0x44, 0x66, 0x55, 0x44, 0x00, 0x00}};
    for (const GUID& setting : {GUID_ACDC_POWER_SOURCE, powerSaving, energySaver}) {
        reportSetting(window, setting, 2);
        EXPECT_TRUE(savingPower(saver.conditions));
        reportSetting(window, setting, 0);
        EXPECT_FALSE(savingPower(saver.conditions));
    }
    reportSetting(window, GUID_LIDSWITCH_STATE_CHANGE, 1);
    EXPECT_FALSE(savingPower(saver.conditions) || drawingPaused(saver.conditions));
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
    drawPass(saver, 5.0, {true, true});
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
    const double wall = runLoopUntil(saver, saver.previewHost, WM_CLOSE, 200).first;
    EXPECT_FALSE(IsWindow(saver.previewHost));
    EXPECT_LT(wall, 1.0) << "the loop went on after the host was gone";
    tearDownWindows(saver);
}

static std::vector<RECT> monitors;
static std::set<const void*> registered; // notices registered and not undone yet
static int registrations = 0;
static std::vector<std::pair<HGLRC, int>> intervals;

// What the saver asks of the platform for its windows, recorded: each registration is undone once,
// and the swap intervals set.
static void recordPlatformCalls() {
    platformCalls.monitorRects = [] { return monitors; };
    platformCalls.registerPowerNotification = [](HANDLE, const GUID*, DWORD) {
        const auto notice = reinterpret_cast<HPOWERNOTIFY>(static_cast<UINT_PTR>(++registrations));
        return registered.insert(notice), notice;
    };
    platformCalls.unregisterPowerNotification = [](HPOWERNOTIFY notice) {
        return BOOL(registered.erase(notice));
    };
    platformCalls.registerSessionNotification = [](HWND window, DWORD) {
        return ++registrations, BOOL(registered.insert(window).second);
    };
    platformCalls.unregisterSessionNotification = [](HWND window) { return BOOL(registered.erase(window)); };
    wglCalls.getProcAddress = [](LPCSTR name) {
        const auto setInterval = [](int interval) {
            return intervals.emplace_back(wglGetCurrentContext(), interval), TRUE;
        };
        return std::string(name) == "wglSwapIntervalEXT"
                   ? reinterpret_cast<PROC>(reinterpret_cast<void*>(+setInterval))
                   : wglGetProcAddress(name);
    };
}

// After a display change the loop reads the monitors once before its next pass: a window whose
// monitor kept its rectangle stays, a changed or new monitor gets a new window over its rectangle, a
// monitor that went takes its window and registrations along, and only the first GL window waits for
// the vertical blank.
TEST(MainLoop, FollowsDisplayChangesKeepingTheWindowsOfUnchangedMonitors) {
    recordPlatformCalls();
    Saver saver = testSaver();
    monitors = {{0, 0, 64, 48}, {64, 0, 128, 48}};
    ASSERT_TRUE(followMonitors(saver));
    const SaverWindow* unchanged = saver.windows[0];
    const HWND changed = saver.windows[1]->surface.window;
    for (const std::vector<RECT>& next : {std::vector<RECT>{{0, 0, 64, 48}, {64, 0, 96, 40}, {-40, 8, 0, 40}},
                                          std::vector<RECT>{{-40, 8, 0, 40}}}) {
        monitors = next;
        intervals.clear();
        SendMessageW(saver.windows[0]->surface.window, WM_DISPLAYCHANGE, 32, MAKELPARAM(128, 48));
        runLoopUntil(saver, nullptr, WM_QUIT, 100); // the first window may be gone by then
        ASSERT_EQ(saver.windows.size(), next.size());
        ASSERT_EQ(intervals.size(), next.size()) << "swap intervals set anew";
        for (size_t i = 0; i < next.size(); ++i) {
            RECT rect = {};
            GetWindowRect(saver.windows[i]->surface.window, &rect);
            EXPECT_TRUE(EqualRect(&rect, &next[i])) << i;
            // Above every other window, and without a taskbar button.
            const HWND made = saver.windows[i]->surface.window;
            EXPECT_EQ(GetWindowLongW(made, GWL_EXSTYLE) & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW),
                      WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
            EXPECT_EQ(GetWindowLongW(made, GWL_STYLE) & (WS_POPUP | WS_VISIBLE | WS_CAPTION),
                      WS_POPUP | WS_VISIBLE);
            ASSERT_NE(saver.windows[i]->gl, nullptr);
            EXPECT_EQ(intervals[i], std::pair(saver.windows[i]->gl->context, i == 0 ? 1 : 0));
        }
        EXPECT_EQ(registered.size(), 5 * next.size()) << "registrations of the windows there are";
    }
    EXPECT_FALSE(IsWindow(changed) || IsWindow(unchanged->surface.window));
    tearDownWindows(saver);
    EXPECT_EQ(registrations, 5 * 4);
    EXPECT_TRUE(registered.empty()) << "a registration left behind";
    platformCalls = systemPlatformCalls();
    wglCalls = systemWglCalls();
}
