#include "gl/gl_context.h"
#include "gl/gl_functions.h"
#include "gl/surface_setup.h"
#include "gl/wgl_calls.h"
#include "support/test_windows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Real WGL underneath, with one chosen call made to fail and every context creation and deletion
// recorded, so that each failure branch runs against a real driver.
struct WglScript {
    int makeCurrentCalls = 0;
    int failMakeCurrentCall = -1;
    bool failChoose = false;
    bool failSet = false;
    bool failCreate = false;
    std::string missingName;
    std::vector<HGLRC> created;
    std::vector<HGLRC> deleted;
};
WglScript script;

int WINAPI scriptedChoose(HDC dc, const PIXELFORMATDESCRIPTOR* descriptor) {
    return script.failChoose ? 0 : ChoosePixelFormat(dc, descriptor);
}
BOOL WINAPI scriptedSet(HDC dc, int format, const PIXELFORMATDESCRIPTOR* descriptor) {
    return script.failSet ? FALSE : SetPixelFormat(dc, format, descriptor);
}
HGLRC WINAPI scriptedCreate(HDC dc) {
    if (script.failCreate) {
        return nullptr;
    }
    HGLRC context = wglCreateContext(dc);
    script.created.push_back(context);
    return context;
}
BOOL WINAPI scriptedMakeCurrent(HDC dc, HGLRC context) {
    return script.makeCurrentCalls++ == script.failMakeCurrentCall ? FALSE : wglMakeCurrent(dc, context);
}
BOOL WINAPI scriptedDelete(HGLRC context) {
    script.deleted.push_back(context);
    return wglDeleteContext(context);
}
PROC WINAPI scriptedProcAddress(LPCSTR name) {
    return script.missingName == name ? nullptr : wglGetProcAddress(name);
}
PROC scriptedModuleProcAddress(const char* name) {
    return script.missingName == name ? nullptr : systemWglCalls().moduleProcAddress(name);
}

class GlContextTest : public ::testing::Test {
  protected:
    void SetUp() override {
        script = WglScript{};
        wglCalls = {scriptedChoose, scriptedSet,         scriptedCreate,           scriptedMakeCurrent,
                    scriptedDelete, scriptedProcAddress, scriptedModuleProcAddress};
        log = redirectTempDirectory();
        surface.window = createSaverClassWindow(64, 48);
        surface.width = 64;
        surface.height = 48;
    }
    void TearDown() override {
        wglCalls = systemWglCalls();
        if (surface.dc != nullptr && surface.glContext == nullptr) {
            ReleaseDC(surface.window, surface.dc);
            surface.dc = nullptr;
        }
        closeSurfaceWindow(surface);
    }
    // Runs the whole per-window set-up and checks what every failure must leave behind.
    void expectSoftwareSurfaceWithLine(const char* line) {
        initSurface(surface);
        EXPECT_EQ(readLogFile(log), std::string(line) + "\r\n");
        EXPECT_FALSE(surface.useGl);
        EXPECT_EQ(surface.glContext, nullptr);
        EXPECT_NE(surface.dc, nullptr) << "the dc is kept for the software path";
        EXPECT_EQ(wglGetCurrentContext(), nullptr) << "a failed set-up leaves no context current";
        for (HGLRC context : script.created) {
            EXPECT_EQ(std::count(script.deleted.begin(), script.deleted.end(), context), 1)
                << "every context made for a failed window is deleted once";
        }
    }
    ScreenSurface surface;
    std::wstring log;
};

TEST_F(GlContextTest, ARealWindowGetsACurrentCoreContextWithoutALogLine) {
    initSurface(surface);
    ASSERT_TRUE(surface.useGl);
    EXPECT_FLOAT_EQ(surface.scale, 48.0f / 1080.0f);
    EXPECT_NE(surface.glContext, nullptr);
    EXPECT_EQ(wglGetCurrentContext(), surface.glContext);
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    ASSERT_NE(version, nullptr);
    EXPECT_GE(std::strtod(version, nullptr), 3.3);
    EXPECT_EQ(script.created.size(), 1u);
    EXPECT_EQ(script.deleted, script.created) << "the legacy context does not survive";
    EXPECT_NE(gl.glActiveTexture, nullptr);
    EXPECT_NE(gl.glCreateShader(GL_VERTEX_SHADER), 0u);
    EXPECT_EQ(readLogFile(log), "");
}

TEST_F(GlContextTest, ChoosePixelFormatFailing) {
    script.failChoose = true;
    expectSoftwareSurfaceWithLine("pixel format failed");
    EXPECT_TRUE(script.created.empty());
}

TEST_F(GlContextTest, SetPixelFormatFailing) {
    script.failSet = true;
    expectSoftwareSurfaceWithLine("pixel format failed");
}

TEST_F(GlContextTest, NoLegacyContext) {
    script.failCreate = true;
    expectSoftwareSurfaceWithLine("legacy context failed");
}

TEST_F(GlContextTest, LegacyContextCannotBeMadeCurrent) {
    script.failMakeCurrentCall = 0;
    expectSoftwareSurfaceWithLine("legacy context failed");
    EXPECT_EQ(script.created.size(), 1u);
}

TEST_F(GlContextTest, NoCreateContextAttribs) {
    script.missingName = "wglCreateContextAttribsARB";
    expectSoftwareSurfaceWithLine("GL 3.3 core context not available");
    EXPECT_EQ(script.deleted.size(), 1u) << "the legacy context is deleted";
}

TEST_F(GlContextTest, CoreContextCannotBeMadeCurrent) {
    // Calls: legacy current, nothing current, core current.
    script.failMakeCurrentCall = 2;
    expectSoftwareSurfaceWithLine("make current failed");
    EXPECT_EQ(script.deleted.size(), 2u) << "legacy and core context are both deleted";
}

TEST_F(GlContextTest, MissingEntryPointReleasesTheCoreContext) {
    script.missingName = "glActiveTexture";
    expectSoftwareSurfaceWithLine("missing glActiveTexture");
}

TEST_F(GlContextTest, ALaterWindowsFailureKeepsTheFirstWindowRendering) {
    initSurface(surface);
    ASSERT_TRUE(surface.useGl);
    ScreenSurface second;
    second.window = createSaverClassWindow(32, 32);
    second.width = 32;
    second.height = 32;
    script.missingName = "glCreateShader";
    initSurface(second);
    EXPECT_FALSE(second.useGl);
    EXPECT_EQ(readLogFile(log), "missing glCreateShader\r\n");
    // The first window still has a working table.
    ASSERT_TRUE(wglMakeCurrent(surface.dc, surface.glContext));
    ASSERT_NE(gl.glCreateShader, nullptr);
    EXPECT_NE(gl.glCreateShader(GL_FRAGMENT_SHADER), 0u);
    ReleaseDC(second.window, second.dc);
    DestroyWindow(second.window);
}

} // namespace
