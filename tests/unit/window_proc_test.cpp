#include "shell/platform_calls.h"
#include "shell/saver_lifecycle.h"
#include "shell/saver_window.h"
#include "shell/saver_windows.h"
#include "shell/window_proc.h"
#include "support/test_windows.h"

#include <gtest/gtest.h>

#include <memory>

// PostQuitMessage sets a flag rather than queueing: one look tells whether the saver was told to end.
static bool quitPosted() {
    MSG message;
    return PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
}

// DefWindowProc reports every system command it carries out to the CBT hook.
static int systemCommands = 0;
static LRESULT CALLBACK countSystemCommands(int code, WPARAM wParam, LPARAM lParam) {
    systemCommands += code == HCBT_SYSCOMMAND;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Far-apart monitors must not overflow the cursor's distance.
TEST(WindowProc, InputEndsFullScreenWhileThePreviewEndsOnlyWithItsHost) {
    EXPECT_TRUE(cursorLeftStartArea({-2147483647, 0}, {2147483647, 0}));
    const HHOOK hook = SetWindowsHookExW(WH_CBT, countSystemCommands, nullptr, GetCurrentThreadId());
    ASSERT_TRUE(SetCursorPos(291, 200));
    for (bool preview : {false, true}) {
        Saver saver = testSaver(preview);
        saver.startCursor = {300, 200};
        saver.startCursorKnown = true;
        // A window and its record as the saver makes them, before the set-up.
        const std::unique_ptr<SaverWindow> record(
            createSaverWindow(saver, {0, WS_POPUP, L"", {0, 0, 32, 32}}));
        const HWND window = record->surface.window;
        // The start point, window-relative or (pointer messages) on the screen.
        const auto ends = [window](UINT message, WPARAM wParam, LPARAM lParam = MAKELPARAM(300, 200)) {
            SendMessageW(window, message, wParam, lParam);
            return quitPosted();
        };
        for (UINT press :
             {WM_KEYDOWN, WM_SYSKEYDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN, WM_XBUTTONDOWN,
              WM_MOUSEWHEEL, WM_MOUSEMOVE, WM_MOUSEHWHEEL, WM_POINTERDOWN, WM_TOUCH, WM_GESTURE}) {
            EXPECT_EQ(ends(press, 0), !preview) << std::hex << press << " preview " << preview;
        }
        // A hovering pen keeps the 8-pixel rule.
        EXPECT_FALSE(ends(WM_POINTERUPDATE, 0, MAKELPARAM(308, 192)));
        EXPECT_EQ(ends(WM_POINTERUPDATE, 0, MAKELPARAM(300, 209)), !preview);
        // Displays are followed in full screen only, once, by the loop.
        EXPECT_FALSE(ends(WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 720)));
        EXPECT_EQ(saver.displaysChanged, !preview);
        // A key let go, this program becoming active and Windows starting a saver end nothing.
        EXPECT_FALSE(ends(WM_KEYUP, 0) || ends(WM_ACTIVATEAPP, TRUE) || ends(WM_SYSCOMMAND, SC_SCREENSAVE));
        EXPECT_EQ(ends(WM_ACTIVATEAPP, FALSE), !preview) << "another program became active";
        EXPECT_EQ(ends(WM_SYSCOMMAND, SC_CLOSE | 3), preview) << "the low four bits are not the command";
        // Full screen keeps Windows from starting a second saver or closing this one behind its back.
        EXPECT_EQ(systemCommands, preview ? 2 : 0) << "system commands carried out";
        SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)));
        SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), HTCLIENT);
        EXPECT_EQ(GetCursor() == nullptr, !preview) << "the cursor is hidden in full screen only";
        // A cursor that cannot be read (a secure desktop): the message's own position stands in, and
        // the first one is the start point.
        platformCalls.getCursorPos = [](POINT*) -> BOOL { return FALSE; };
        saver.startCursorKnown = false;
        EXPECT_FALSE(ends(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10)) || ends(WM_MOUSEMOVE, 0, MAKELPARAM(18, 18)));
        EXPECT_EQ(ends(WM_MOUSEMOVE, 0, MAKELPARAM(19, 10)), !preview);
        platformCalls = systemPlatformCalls();
        EXPECT_TRUE(ends(WM_CLOSE, 0));
        // A host process that dies takes the preview child with WM_NCDESTROY alone.
        EXPECT_EQ(ends(WM_NCDESTROY, 0), preview);
        DestroyWindow(window);
        EXPECT_EQ(quitPosted(), preview) << "only the preview's window goes before the saver ends";
    }
    UnhookWindowsHookEx(hook);
}

// "/p 32" names the desktop under Wine (its handle's short form): a child there would cover the
// screen and ignore every key, so only a window outside the desktop and the shell hosts a preview,
// and only one on the desktop: a message-only window is never seen.
TEST(PreviewHost, OnlyAWindowOnTheDesktopOtherThanTheDesktopCanHostThePreview) {
    const HWND window =
        CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 8, 8, nullptr, nullptr, nullptr, nullptr);
    const HWND pane =
        CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 8, 8, window, nullptr, nullptr, nullptr);
    const HWND messageOnly =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 8, 8, HWND_MESSAGE, nullptr, nullptr, nullptr);
    EXPECT_TRUE(canHostPreview(window));
    EXPECT_TRUE(canHostPreview(pane));
    EXPECT_FALSE(canHostPreview(messageOnly));
    EXPECT_FALSE(canHostPreview(GetDesktopWindow()));
    EXPECT_FALSE(canHostPreview(reinterpret_cast<HWND>(static_cast<UINT_PTR>(LOWORD(GetDesktopWindow())))));
    DestroyWindow(messageOnly);
    DestroyWindow(window);
}

// A host that goes while the child is being made, in a way that leaves the child a window (here it
// lets go of the child and destroys itself from the child's creation message, as a dying dialog's
// pane leaves a child of another process): the saver must not set up what nobody sees.
TEST(PreviewHost, AHostGoneWhileTheChildIsMadeGetsNoWindowSetUp) {
    WNDCLASSW hostClass = {};
    hostClass.lpfnWndProc = [](HWND host, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_PARENTNOTIFY && LOWORD(wParam) == WM_CREATE) {
            SetParent(reinterpret_cast<HWND>(lParam), nullptr);
            DestroyWindow(host);
            return 0;
        }
        return DefWindowProcW(host, message, wParam, lParam);
    };
    hostClass.lpszClassName = L"OrvaneDyingHost";
    RegisterClassW(&hostClass);
    Saver saver = testSaver(true);
    saver.previewHost = CreateWindowExW(0, L"OrvaneDyingHost", L"", WS_POPUP, 0, 0, 64, 48, nullptr, nullptr,
                                        nullptr, nullptr);
    EXPECT_FALSE(addPreviewWindow(saver));
    EXPECT_TRUE(saver.windows.empty()) << "a window set up for a host that is gone";
    tearDownWindows(saver);
}
