#include "gl/gl_functions.h"
#include "gl/surface_setup.h"
#include "shell/saver_lifecycle.h"
#include "shell/saver_state.h"
#include "support/test_windows.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> intervals;
std::vector<HGLRC> currentAtCall;
BOOL WINAPI recordingSwapInterval(int interval) {
    intervals.push_back(interval);
    currentAtCall.push_back(wglGetCurrentContext());
    return TRUE;
}

ScreenSurface* newSurface(int width, int height) {
    auto* surface = new ScreenSurface();
    surface->window = createSaverClassWindow(width, height);
    surface->width = width;
    surface->height = height;
    return surface;
}

class LifecycleTest : public ::testing::Test {
  protected:
    void SetUp() override {
        redirectTempDirectory();
        intervals.clear();
        currentAtCall.clear();
        vsyncOn = false;
    }
    void TearDown() override {
        tearDownSurfaces();
        vsyncOn = false;
    }
};

TEST_F(LifecycleTest, OnlyTheFirstGlWindowWaitsForTheVerticalBlank) {
    ScreenSurface* software = newSurface(40, 30);
    software->useGl = false; // listed first, but not a GL window
    surfaces.push_back(software);
    for (int i = 0; i < 2; ++i) {
        ScreenSurface* surface = newSurface(64, 48);
        initSurface(*surface);
        ASSERT_TRUE(surface->useGl);
        surfaces.push_back(surface);
    }
    const PfnWglSwapIntervalExt real = gl.wglSwapIntervalEXT;
    gl.wglSwapIntervalEXT = recordingSwapInterval;
    setUpSwapIntervals();
    gl.wglSwapIntervalEXT = real;
    EXPECT_EQ(intervals, (std::vector<int>{1, 0}));
    EXPECT_EQ(currentAtCall, (std::vector<HGLRC>{surfaces[1]->glContext, surfaces[2]->glContext}))
        << "each call is made with its window's context current";
    EXPECT_TRUE(vsyncOn);
}

TEST_F(LifecycleTest, WithoutTheEntryOrWithoutGlWindowsNothingIsSynchronised) {
    ScreenSurface* surface = newSurface(64, 48);
    initSurface(*surface);
    surfaces.push_back(surface);
    const PfnWglSwapIntervalExt real = gl.wglSwapIntervalEXT;
    gl.wglSwapIntervalEXT = nullptr;
    setUpSwapIntervals();
    gl.wglSwapIntervalEXT = real;
    EXPECT_FALSE(vsyncOn);
    tearDownSurfaces();

    ScreenSurface* software = newSurface(40, 30);
    surfaces.push_back(software);
    gl.wglSwapIntervalEXT = recordingSwapInterval;
    setUpSwapIntervals();
    gl.wglSwapIntervalEXT = real;
    EXPECT_TRUE(intervals.empty());
    EXPECT_FALSE(vsyncOn);
}

TEST_F(LifecycleTest, TeardownReleasesEveryWindowAndEmptiesTheList) {
    ScreenSurface* glSurface = newSurface(64, 48);
    initSurface(*glSurface);
    ASSERT_TRUE(glSurface->useGl);
    surfaces.push_back(glSurface);
    const HWND glWindow = glSurface->window;
    ScreenSurface* software = newSurface(40, 30);
    software->dc = GetDC(software->window);
    software->staticDc = CreateCompatibleDC(software->dc);
    software->staticBitmap = CreateCompatibleBitmap(software->dc, 40, 30);
    software->staticOldBitmap = SelectObject(software->staticDc, software->staticBitmap);
    surfaces.push_back(software);
    const HWND softwareWindow = software->window;
    // A preview child the host already destroyed is skipped.
    ScreenSurface* gone = newSurface(10, 10);
    DestroyWindow(gone->window);
    surfaces.push_back(gone);

    tearDownSurfaces();
    EXPECT_TRUE(surfaces.empty());
    EXPECT_FALSE(IsWindow(glWindow));
    EXPECT_FALSE(IsWindow(softwareWindow));
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
}

} // namespace
