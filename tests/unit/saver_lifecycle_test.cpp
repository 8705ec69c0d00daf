#include "gl/gl_functions.h"
#include "gl/wgl_calls.h"
#include "shell/main_loop.h"
#include "shell/saver_lifecycle.h"
#include "shell/saver_state.h"
#include "software/software_gdi.h"
#include "support/test_windows.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

using Call = std::tuple<std::string, const void*, const void*>;
static std::vector<Call> calls;
// Records a platform call with the two handles it was given and passes its result on.
template <typename Result>
static Result noted(std::string call, const void* a, const void* b, Result result) {
    calls.emplace_back(call, a, b);
    return result;
}

// A saver run over every kind of window, traced through the call tables: the swap intervals, a pass
// due for software frames and one that is not, and the teardown. GDI keeps a bitmap that is still
// selected, so each old bitmap must go back before its DC is deleted.
TEST(SaverLifecycle, SwapIntervalsSoftwareFramesAndReleasesReachTheRightWindowsInOrder) {
    const ScreenSurface* software = addSaverSurface(false); // listed first, but not a GL window
    const ScreenSurface* first = addSaverSurface(true);
    ScreenSurface* second = addSaverSurface(true);
    second->backDc = CreateCompatibleDC(nullptr); // a memory DC does not make it a software window
    surfaces.push_back(new ScreenSurface());      // a software window whose set-up failed
    const std::vector<Call> expected = {
        {"interval 1", first->glContext, nullptr},
        {"interval 0", second->glContext, nullptr},
        {"blit", software->backDc, software->staticDc},
        {"blit", software->dc, software->backDc},
        {"release dc", software->window, software->dc},
        {"release dc", software->window, software->dc},
        {"select", software->staticDc, software->staticOldBitmap},
        {"delete dc", software->staticDc, nullptr},
        {"select", software->backDc, software->backOldBitmap},
        {"delete dc", software->backDc, nullptr},
        {"delete context", first->glContext, nullptr},
        {"release dc", first->window, first->dc},
        {"delete context", second->glContext, nullptr},
        {"release dc", second->window, second->dc},
        {"select", second->backDc, nullptr},
        {"delete dc", second->backDc, nullptr},
    };
    const HWND windows[] = {software->window, first->window, second->window};
    const HBITMAP bitmaps[] = {software->staticBitmap, software->backBitmap};
    const PfnWglSwapIntervalExt realInterval = gl.wglSwapIntervalEXT;
    const SoftwareGdiCalls realGdi = softwareGdi;
    gl.wglSwapIntervalEXT = [](int interval) -> BOOL {
        return noted("interval " + std::to_string(interval), wglGetCurrentContext(), nullptr, TRUE);
    };
    softwareGdi.bitBlt = [](HDC to, int, int, int, int, HDC from, int, int, DWORD) {
        return noted("blit", to, from, TRUE);
    };
    softwareGdi.releaseDc = [](HWND w, HDC dc) { return noted("release dc", w, dc, ReleaseDC(w, dc)); };
    softwareGdi.selectObject = [](HDC dc, HGDIOBJ o) { return noted("select", dc, o, SelectObject(dc, o)); };
    softwareGdi.deleteDc = [](HDC dc) { return noted("delete dc", dc, nullptr, DeleteDC(dc)); };
    wglCalls.deleteContext = [](HGLRC c) { return noted("delete context", c, nullptr, wglDeleteContext(c)); };
    setUpSwapIntervals();
    EXPECT_TRUE(vsyncOn);
    EXPECT_TRUE(drawPass(0.0, -1.0));
    EXPECT_FALSE(drawPass(1.0 / 60.0, 0.0));
    tearDownSurfaces();
    gl.wglSwapIntervalEXT = realInterval;
    softwareGdi = realGdi;
    wglCalls = systemWglCalls();
    EXPECT_EQ(calls, expected);
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    EXPECT_FALSE(IsWindow(windows[0]) || IsWindow(windows[1]) || IsWindow(windows[2]));
    EXPECT_EQ(GetObjectType(bitmaps[0]) + GetObjectType(bitmaps[1]), 0u) << "a bitmap was not deleted";
}
