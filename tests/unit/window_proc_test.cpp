#include "shell/saver_state.h"
#include "shell/window_proc.h"
#include "support/test_windows.h"

#include <gtest/gtest.h>

namespace {

// True when a quit message was posted since the last call (and takes it from the queue).
bool quitPosted() {
    MSG message;
    bool found = false;
    while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        found = true;
    }
    return found;
}

class WindowProcTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window = createSaverClassWindow(320, 240);
        ASSERT_NE(window, nullptr);
        quitPosted();
    }
    void TearDown() override {
        previewMode = false;
        if (IsWindow(window)) {
            DestroyWindow(window);
        }
        quitPosted();
    }
    LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageW(window, message, wParam, lParam);
    }
    HWND window = nullptr;
};

TEST_F(WindowProcTest, FullScreenEndsOnEveryKeyButtonAndWheel) {
    previewMode = false;
    for (UINT message : {WM_KEYDOWN, WM_SYSKEYDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN,
                         WM_MOUSEWHEEL, WM_XBUTTONDOWN, WM_CLOSE}) {
        EXPECT_EQ(send(message), 0) << message;
        EXPECT_TRUE(quitPosted()) << message;
    }
    EXPECT_TRUE(IsWindow(window)) << "WM_CLOSE must not destroy the window";
}

TEST_F(WindowProcTest, ReleasesRepeatsAndCharactersDoNotEndTheSaver) {
    previewMode = false;
    for (UINT message : {WM_KEYUP, WM_SYSKEYUP, WM_CHAR, WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP,
                         WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_XBUTTONUP, 0x020E /* WM_MOUSEHWHEEL */}) {
        send(message);
        EXPECT_FALSE(quitPosted()) << message;
    }
}

TEST_F(WindowProcTest, PreviewIgnoresInputAndEndsOnlyWithTheHost) {
    previewMode = true;
    for (UINT message : {WM_KEYDOWN, WM_SYSKEYDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN,
                         WM_MOUSEWHEEL, WM_XBUTTONDOWN, WM_MOUSEMOVE}) {
        EXPECT_EQ(send(message), 0) << message;
        EXPECT_FALSE(quitPosted()) << message;
    }
    EXPECT_EQ(send(WM_ACTIVATEAPP, 0), 0);
    EXPECT_FALSE(quitPosted());
    send(WM_CLOSE);
    EXPECT_TRUE(quitPosted());
    DestroyWindow(window);
    EXPECT_TRUE(quitPosted()) << "destroying the preview child ends the saver";
}

TEST_F(WindowProcTest, FullScreenDestroyDoesNotQuitByItself) {
    previewMode = false;
    DestroyWindow(window);
    EXPECT_FALSE(quitPosted());
}

TEST_F(WindowProcTest, LosingActivationEndsFullScreenOnly) {
    previewMode = false;
    EXPECT_EQ(send(WM_ACTIVATEAPP, 1), 0);
    EXPECT_FALSE(quitPosted());
    EXPECT_EQ(send(WM_ACTIVATEAPP, 0), 0);
    EXPECT_TRUE(quitPosted());
}

TEST_F(WindowProcTest, SystemCloseAndScreenSaveAreSwallowedInFullScreen) {
    previewMode = false;
    EXPECT_EQ(send(WM_SYSCOMMAND, SC_SCREENSAVE), 0);
    EXPECT_EQ(send(WM_SYSCOMMAND, SC_CLOSE), 0);
    EXPECT_EQ(send(WM_SYSCOMMAND, SC_CLOSE | 0x3), 0) << "the low four bits are not part of the command";
    EXPECT_FALSE(quitPosted()) << "SC_CLOSE passed on would have become WM_CLOSE";
    // In preview the system handles it: SC_CLOSE becomes WM_CLOSE, which ends the saver.
    previewMode = true;
    send(WM_SYSCOMMAND, SC_CLOSE);
    EXPECT_TRUE(quitPosted());
}

TEST_F(WindowProcTest, PaintingValidatesAndErasingIsClaimed) {
    previewMode = false;
    // Only a shown window has an update region.
    ShowWindow(window, SW_SHOWNA);
    UpdateWindow(window);
    InvalidateRect(window, nullptr, FALSE);
    EXPECT_TRUE(GetUpdateRect(window, nullptr, FALSE));
    EXPECT_EQ(send(WM_PAINT), 0);
    EXPECT_FALSE(GetUpdateRect(window, nullptr, FALSE));
    EXPECT_EQ(send(WM_ERASEBKGND), 1);
    previewMode = true;
    EXPECT_EQ(send(WM_ERASEBKGND), 1);
}

TEST_F(WindowProcTest, CursorIsHiddenInFullScreen) {
    previewMode = false;
    SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)));
    EXPECT_EQ(send(WM_SETCURSOR, reinterpret_cast<WPARAM>(window), HTCLIENT), 1);
    EXPECT_EQ(GetCursor(), nullptr);
}

TEST(MouseRule, EightPixelsAreToleratedNineEndTheSaver) {
    const POINT start = {500, 400};
    EXPECT_FALSE(cursorLeftStartArea(start, {500, 400}));
    EXPECT_FALSE(cursorLeftStartArea(start, {508, 408}));
    EXPECT_FALSE(cursorLeftStartArea(start, {492, 392}));
    EXPECT_TRUE(cursorLeftStartArea(start, {509, 400}));
    EXPECT_TRUE(cursorLeftStartArea(start, {500, 391}));
    EXPECT_TRUE(cursorLeftStartArea(start, {491, 408}));
    // Far-apart monitors: no overflow in the distance.
    EXPECT_TRUE(cursorLeftStartArea({-2147483647, 0}, {2147483647, 0}));
}

TEST_F(WindowProcTest, MouseMoveReadsTheScreenCursorAgainstTheStartPoint) {
    previewMode = false;
    ASSERT_TRUE(SetCursorPos(300, 200));
    GetCursorPos(&startCursor);
    // Small steps add up: the reference point never moves.
    const POINT steps[] = {{304, 204}, {308, 208}, {300, 200}, {292, 192}};
    for (const POINT& step : steps) {
        ASSERT_TRUE(SetCursorPos(step.x, step.y));
        // The message's own coordinates are deliberately wrong: only the screen cursor counts.
        send(WM_MOUSEMOVE, 0, MAKELPARAM(1000, 1000));
        EXPECT_FALSE(quitPosted()) << step.x << "," << step.y;
    }
    ASSERT_TRUE(SetCursorPos(300, 209));
    send(WM_MOUSEMOVE, 0, 0);
    EXPECT_TRUE(quitPosted());
}

} // namespace
