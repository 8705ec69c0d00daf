#include "gl/point_buffer.h"
#include "gl/wgl_calls.h"
#include "shell/main_loop.h"
#include "shell/platform_calls.h"
#include "shell/saver_lifecycle.h"
#include "support/test_windows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

namespace {

// Real WGL underneath, with one call made to fail or one entry point replaced (null: missing, as
// opengl32.dll exports nothing beyond OpenGL 1.1), and every context made and deleted recorded.
struct WglScript {
    bool failChoose = false;
    int failMakeCurrentCall = -1;
    const char* replaced = "";
    PROC by = nullptr;
    int makeCurrentCalls = 0;
    bool lostOnReset = false; // the core context was asked to report a GPU reset
    int programsCreated = 0;  // by noFifthProgram below
    std::vector<HGLRC> created = {};
    std::vector<HGLRC> deleted = {};
};
WglScript script;
PfnWglCreateContextAttribsArb realCreateAttribs = nullptr;

const auto recorded = [](HGLRC context) { return script.created.push_back(context), context; };
template <typename Function> PROC asProc(Function function) {
    return reinterpret_cast<PROC>(reinterpret_cast<void (*)()>(function));
}
// The core context is made through this lookup's answer: it hands out a recording wrapper.
PROC WINAPI scriptedProcAddress(LPCSTR name) {
    const bool replaced = std::strcmp(name, script.replaced) == 0;
    if (replaced || std::strcmp(name, "wglCreateContextAttribsARB") != 0) {
        return replaced ? script.by : wglGetProcAddress(name);
    }
    realCreateAttribs = procAs<PfnWglCreateContextAttribsArb>(wglGetProcAddress(name));
    return asProc(+[](HDC dc, HGLRC share, const int* attributes) {
        for (const int* pair = attributes; *pair != 0; pair += 2) {
            script.lostOnReset |= pair[0] == WGL_CONTEXT_RESET_NOTIFICATION_STRATEGY_ARB &&
                                  pair[1] == WGL_LOSE_CONTEXT_ON_RESET_ARB;
        }
        return recorded(realCreateAttribs(dc, share, attributes));
    });
}
// GL_FRAMEBUFFER_INCOMPLETE_ATTACHMENT
constexpr auto incomplete = [](GLenum) -> GLenum { return 0x8CD6; };
// A driver that records every point of the bake, and zeros in their place.
void WINAPI endRecordingWithZeros() {
    procAs<void(WINAPI*)()>(wglGetProcAddress("glEndTransformFeedback"))();
    const std::vector<float> zeros(modelPointCount * pointBufferStride / sizeof(float));
    procAs<void(WINAPI*)(GLenum, GLintptr, GLsizeiptr, const void*)>(wglGetProcAddress("glBufferSubData"))(
        GL_TRANSFORM_FEEDBACK_BUFFER, 0, modelPointCount * pointBufferStride, zeros.data());
}
// The fifth program made, the bake, cannot be: a program 0 does not link.
GLuint WINAPI noFifthProgram() {
    return ++script.programsCreated == 5 ? 0
                                         : procAs<GLuint(WINAPI*)()>(wglGetProcAddress("glCreateProgram"))();
}

// A window gets a current core context and no log line; or, after a failure, its one line and the
// software path, unless only the bake failed: then the model is generated per vertex. Either way
// every other context made for it is deleted, once, and no query object is left. The second ctest
// entry runs this with MESA_GL_VERSION_OVERRIDE=3.3: the driver then offers exactly that version.
TEST(GlContext, SetUpLogsItsOutcomeAndKeepsNoContextButTheWindows) {
    const std::string noCore = "GL 3.3 core context not available", generated = "model generated per vertex";
    // The log line, the contexts made, the script.
    const std::tuple<std::string, size_t, WglScript> rows[] = {
        {"", 2, {}},
        {"pixel format failed", 0, {.failChoose = true}},
        {"legacy context failed", 1, {.failMakeCurrentCall = 0}},
        {noCore, 1, {.replaced = "wglCreateContextAttribsARB"}},
        // A driver's 1 is no address: calling it would crash.
        {noCore, 1, {.replaced = "wglCreateContextAttribsARB", .by = reinterpret_cast<PROC>(1)}},
        {"make current failed", 2, {.failMakeCurrentCall = 2}}, // the core's call
        {"missing glActiveTexture", 2, {.replaced = "glActiveTexture"}},
        {"scene framebuffer failed", 2, {.replaced = "glCheckFramebufferStatus", .by = asProc(+incomplete)}},
        {"point buffer failed (count), " + generated,
         2,
         {.replaced = "glBeginTransformFeedback", .by = asProc(+[](GLenum) {})}},
        {"point buffer failed (contents), " + generated,
         2,
         {.replaced = "glEndTransformFeedback", .by = asProc(endRecordingWithZeros)}},
        {"link bake failed: \r\npoint buffer failed (bake program), " + generated,
         2,
         {.replaced = "glCreateProgram", .by = asProc(noFifthProgram)}},
    };
    const char* offered = std::getenv("MESA_GL_VERSION_OVERRIDE");
    wglCalls = {[](HDC dc, const PIXELFORMATDESCRIPTOR* format) {
                    return script.failChoose ? 0 : ChoosePixelFormat(dc, format);
                },
                SetPixelFormat,
                [](HDC dc) { return recorded(wglCreateContext(dc)); },
                [](HDC dc, HGLRC context) -> BOOL {
                    return script.makeCurrentCalls++ != script.failMakeCurrentCall &&
                           wglMakeCurrent(dc, context);
                },
                [](HGLRC context) { return script.deleted.push_back(context), wglDeleteContext(context); },
                scriptedProcAddress,
                systemWglCalls().moduleProcAddress};
    Saver saver = testSaver();
    for (const auto& [expectedLog, contexts, row] : rows) {
        SCOPED_TRACE(expectedLog);
        script = row;
        const std::wstring log = redirectTempDirectory();
        const SaverWindow& window = *addSaverWindow(saver, true); // released by tearDownWindows
        const HGLRC context = window.gl != nullptr ? window.gl->context : nullptr;
        EXPECT_EQ(readLogFile(log), expectedLog.empty() ? "" : expectedLog + "\r\n");
        const bool bakeFailed = expectedLog.ends_with(generated);
        EXPECT_EQ(window.gl != nullptr, expectedLog.empty() || bakeFailed);
        EXPECT_EQ(window.gl && window.gl->modelVao == window.gl->emptyVao, bakeFailed);
        const auto isQuery = procAs<GLboolean(WINAPI*)(GLuint)>(wglGetProcAddress("glIsQuery"));
        for (GLuint query = 1; window.gl && query <= 4; ++query) {
            EXPECT_FALSE(isQuery(query)) << "query " << query << " left";
        }
        EXPECT_TRUE(window.gl ? context != nullptr : window.software && window.software->backDc);
        EXPECT_EQ(wglGetCurrentContext(), context);
        // GDI must not draw into a double-buffered OpenGL window: a software window has no format.
        EXPECT_EQ(GetPixelFormat(window.surface.dc) != 0, window.gl != nullptr);
        EXPECT_EQ(script.lostOnReset, script.created.size() > 1);
        EXPECT_EQ(script.created.size(), contexts);
        for (HGLRC made : script.created) {
            EXPECT_EQ(std::ranges::count(script.deleted, made), made == context ? 0 : 1);
        }
        const char* version = window.gl ? reinterpret_cast<const char*>(glGetString(GL_VERSION)) : nullptr;
        EXPECT_TRUE(!version || !offered || std::strncmp(version, offered, 3) == 0) << version;
        tearDownWindows(saver);
    }
    wglCalls = systemWglCalls();
}

// A GPU reset reported by the driver: nothing more is drawn into the lost context, and the window's
// renderer is made anew in the same pass; when that fails, the window takes the software path in a
// window made anew, without the OpenGL pixel format, and with the notices. Each step says so in the log.
TEST(GlContext, AContextLostToAResetIsNeverDrawnIntoAndTheRendererIsMadeAnew) {
    const std::wstring log = redirectTempDirectory();
    static HWND told = nullptr; // where this session's changes are reported
    platformCalls.registerSessionNotification = [](HWND to, DWORD) { return told = to, TRUE; };
    Saver saver = testSaver();
    SaverWindow& window = *addSaverWindow(saver, true);
    static int draws = 0;
    for (const bool setUpFails : {false, true}) {
        ASSERT_NE(window.gl, nullptr);
        const HGLRC lost = window.gl->context;
        const HWND before = window.surface.window;
        window.gl->gl.glGetGraphicsResetStatusARB = [] { return GLenum(0x8253); }; // GL_GUILTY_CONTEXT_RESET
        window.gl->gl.glUseProgram = [](GLuint) { ++draws; };
        // As on Windows, a window's pixel format cannot be set twice.
        wglCalls.setPixelFormat = [](HDC dc, int format, const PIXELFORMATDESCRIPTOR* wanted) -> BOOL {
            return GetPixelFormat(dc) == 0 && SetPixelFormat(dc, format, wanted);
        };
        if (setUpFails) {
            wglCalls.createContext = [](HDC) -> HGLRC { return nullptr; };
        }
        drawPass(saver, 5.0, {true, false});
        wglCalls = systemWglCalls();
        EXPECT_EQ(draws, 0) << "drawn into a lost context";
        EXPECT_TRUE(setUpFails ? !window.gl && window.software : window.gl && window.gl->context != lost);
        EXPECT_EQ(window.surface.window != before && !IsWindow(before), setUpFails);
        EXPECT_EQ(told, window.surface.window) << "session changes reported to a window that went";
    }
    EXPECT_EQ(readLogFile(log), "GL context lost to a GPU reset\r\nGL context lost to a GPU reset\r\n"
                                "legacy context failed\r\n");
    tearDownWindows(saver);
    platformCalls = systemPlatformCalls();
}

} // namespace
