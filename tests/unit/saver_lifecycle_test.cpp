#include "gl/wgl_calls.h"
#include "shell/main_loop.h"
#include "shell/saver_lifecycle.h"
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
// due for software frames and one that is not, and the teardown, each window's the mirror of its
// set-up. GDI keeps a bitmap that is still selected, so each old bitmap must go back before its DC
// is deleted.
TEST(SaverLifecycle, SwapIntervalsSoftwareFramesAndReleasesReachTheRightWindowsInOrder) {
    Saver saver = testSaver();
    const SaverWindow* software = addSaverWindow(saver, false); // listed first, but not a GL window
    const SaverWindow* first = addSaverWindow(saver, true);
    const SaverWindow* second = addSaverWindow(saver, true);
    saver.windows.push_back(new SaverWindow()); // both set-ups failed: drawn by no one
    const SoftwareRenderer& memory = *software->software;
    const std::vector<Call> expected = {
        {"interval 1", first->gl->context, nullptr},
        {"interval 0", second->gl->context, nullptr},
        {"blit", memory.backDc, memory.staticDc},
        {"blit", software->surface.dc, memory.backDc},
        {"release dc", software->surface.window, software->surface.dc},
        {"select", memory.staticDc, memory.staticOldBitmap},
        {"delete dc", memory.staticDc, nullptr},
        {"select", memory.backDc, memory.backOldBitmap},
        {"delete dc", memory.backDc, nullptr},
        {"release dc", software->surface.window, software->surface.dc},
        {"delete context", first->gl->context, nullptr},
        {"release dc", first->surface.window, first->surface.dc},
        {"delete context", second->gl->context, nullptr},
        {"release dc", second->surface.window, second->surface.dc},
    };
    const HWND windows[] = {software->surface.window, first->surface.window, second->surface.window};
    const HBITMAP bitmaps[] = {memory.staticBitmap, memory.backBitmap};
    const SoftwareGdiCalls realGdi = softwareGdi;
    for (const SaverWindow* window : {first, second}) {
        window->gl->gl.wglSwapIntervalEXT = [](int interval) -> BOOL {
            return noted("interval " + std::to_string(interval), wglGetCurrentContext(), nullptr, TRUE);
        };
    }
    softwareGdi.bitBlt = [](HDC to, int, int, int, int, HDC from, int, int, DWORD) {
        return noted("blit", to, from, TRUE);
    };
    softwareGdi.releaseDc = [](HWND w, HDC dc) { return noted("release dc", w, dc, ReleaseDC(w, dc)); };
    softwareGdi.selectObject = [](HDC dc, HGDIOBJ o) { return noted("select", dc, o, SelectObject(dc, o)); };
    softwareGdi.deleteDc = [](HDC dc) { return noted("delete dc", dc, nullptr, DeleteDC(dc)); };
    wglCalls.deleteContext = [](HGLRC c) { return noted("delete context", c, nullptr, wglDeleteContext(c)); };
    setUpSwapIntervals(saver);
    EXPECT_TRUE(saver.vsyncOn);
    drawPass(saver, 0.0, {true, true});
    drawPass(saver, 1.0 / 60.0, {true, false});
    tearDownWindows(saver);
    softwareGdi = realGdi;
    wglCalls = systemWglCalls();
    EXPECT_EQ(calls, expected);
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    EXPECT_FALSE(IsWindow(windows[0]) || IsWindow(windows[1]) || IsWindow(windows[2]));
    EXPECT_EQ(GetObjectType(bitmaps[0]) + GetObjectType(bitmaps[1]), 0u) << "a bitmap was not deleted";
}
