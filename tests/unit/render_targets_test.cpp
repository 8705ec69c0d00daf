#include "frame_fixture.h"
#include "gl/gl_functions.h"
#include "gl/render_targets.h"
#include "gl/surface_setup.h"
#include "gl/target_sizes.h"
#include "gl/wgl_calls.h"
#include "support/test_windows.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct SizeCase {
    int width, height, sceneWidth, sceneHeight, bloomWidth, bloomHeight;
};

TEST(TargetSizes, AtMostFourteenFortyRowsAndQuarterSizeBlur) {
    const SizeCase cases[] = {
        {1920, 1080, 1920, 1080, 480, 270},
        {2560, 1440, 2560, 1440, 640, 360},
        // Single precision: 2560 x (1440 / 1600) rounds up to 2304; a double product gives 2303.
        {2560, 1600, 2304, 1440, 576, 360},
        {3840, 2160, 2560, 1440, 640, 360},
        {7680, 4320, 2560, 1440, 640, 360},
        {2560, 1441, 2558, 1440, 639, 360},
        {1080, 1920, 810, 1440, 202, 360},
        {1366, 768, 1366, 768, 341, 192},
        {3, 3, 3, 3, 1, 1},
        {1, 1, 1, 1, 1, 1},
    };
    for (const SizeCase& c : cases) {
        const TargetSizes sizes = targetSizes(c.width, c.height);
        EXPECT_EQ(sizes.sceneWidth, c.sceneWidth) << c.width << "x" << c.height;
        EXPECT_EQ(sizes.sceneHeight, c.sceneHeight) << c.width << "x" << c.height;
        EXPECT_EQ(sizes.bloomWidth, c.bloomWidth) << c.width << "x" << c.height;
        EXPECT_EQ(sizes.bloomHeight, c.bloomHeight) << c.width << "x" << c.height;
    }
}

GLint textureLevelValue(GLuint texture, GLenum name) {
    glBindTexture(GL_TEXTURE_2D, texture);
    GLint value = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, name, &value);
    return value;
}

constexpr GLenum textureInternalFormat = 0x1003; // GL_TEXTURE_INTERNAL_FORMAT

TEST(RenderTargets, RealTexturesHaveTheComputedSizesInHalfFloat) {
    for (const SizeCase& c : {SizeCase{2560, 1600, 2304, 1440, 576, 360},
                              SizeCase{1366, 768, 1366, 768, 341, 192}, SizeCase{3, 3, 3, 3, 1, 1}}) {
        const std::wstring log = redirectTempDirectory();
        FrameFixture fixture;
        ASSERT_TRUE(openFrameFixture(fixture, c.width, c.height));
        const ScreenSurface& surface = fixture.surface;
        EXPECT_TRUE(surface.useGl);
        EXPECT_EQ(textureLevelValue(surface.sceneTexture, GL_TEXTURE_WIDTH), c.sceneWidth);
        EXPECT_EQ(textureLevelValue(surface.sceneTexture, GL_TEXTURE_HEIGHT), c.sceneHeight);
        EXPECT_EQ(textureLevelValue(surface.sceneTexture, textureInternalFormat), GL_RGBA16F);
        for (GLuint bloom : {surface.bloomTextureA, surface.bloomTextureB}) {
            EXPECT_EQ(textureLevelValue(bloom, GL_TEXTURE_WIDTH), c.bloomWidth);
            EXPECT_EQ(textureLevelValue(bloom, GL_TEXTURE_HEIGHT), c.bloomHeight);
            EXPECT_EQ(textureLevelValue(bloom, textureInternalFormat), GL_RGBA16F);
        }
        EXPECT_NE(surface.emptyVao, 0u);
        EXPECT_TRUE(glIsEnabled(GL_PROGRAM_POINT_SIZE));
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        // All three cards exist, with their pictures' sizes.
        EXPECT_EQ(surface.cards[0].width, 660);
        EXPECT_EQ(surface.cards[1].height, 272);
        EXPECT_EQ(surface.cards[2].width, 1082);
        EXPECT_EQ(readLogFile(log), "");
        closeFrameFixture(fixture);
    }
}

// A driver that cannot render to half floats: the first completeness test fails.
int statusCalls = 0;
int incompleteCalls = 0;
PfnGlCheckFramebufferStatus realCheckStatus = nullptr;
GLenum WINAPI scriptedCheckStatus(GLenum target) {
    return statusCalls++ < incompleteCalls ? 0x8CD6 /* incomplete attachment */ : realCheckStatus(target);
}

TEST(RenderTargets, WithoutHalfFloatEveryTargetIsEightBitAndNothingIsLogged) {
    const std::wstring log = redirectTempDirectory();
    FrameFixture fixture;
    ASSERT_TRUE(openFrameFixture(fixture, 64, 48));
    realCheckStatus = gl.glCheckFramebufferStatus;
    gl.glCheckFramebufferStatus = scriptedCheckStatus;
    statusCalls = 0;
    incompleteCalls = 1;
    ScreenSurface& surface = fixture.surface;
    surface.useGl = false;
    const bool created = createGlResources(surface);
    gl.glCheckFramebufferStatus = realCheckStatus;
    EXPECT_TRUE(created);
    EXPECT_TRUE(surface.useGl);
    EXPECT_EQ(statusCalls, 2) << "blur targets are not tested";
    EXPECT_EQ(textureLevelValue(surface.sceneTexture, textureInternalFormat), GL_RGBA8);
    EXPECT_EQ(textureLevelValue(surface.bloomTextureA, textureInternalFormat), GL_RGBA8);
    EXPECT_EQ(textureLevelValue(surface.bloomTextureB, textureInternalFormat), GL_RGBA8);
    EXPECT_EQ(readLogFile(log), "");
    closeFrameFixture(fixture);
}

// The whole set-up with a driver whose framebuffers are never complete: the lookup hands out the
// scripted status function, so the refill of the entry-point table keeps it.
PROC WINAPI procAddressWithBrokenFramebuffers(LPCSTR name) {
    if (std::string(name) == "glCheckFramebufferStatus") {
        return reinterpret_cast<PROC>(reinterpret_cast<void (*)()>(&scriptedCheckStatus));
    }
    return wglGetProcAddress(name);
}

TEST(RenderTargets, NeitherFormatCompleteLogsOnceAndFallsBackToSoftware) {
    const std::wstring log = redirectTempDirectory();
    ScreenSurface surface;
    surface.window = createSaverClassWindow(64, 48);
    surface.width = 64;
    surface.height = 48;
    statusCalls = 0;
    incompleteCalls = 1000;
    wglCalls.getProcAddress = procAddressWithBrokenFramebuffers;
    initSurface(surface);
    wglCalls = systemWglCalls();
    EXPECT_FALSE(surface.useGl);
    EXPECT_EQ(surface.glContext, nullptr);
    EXPECT_EQ(statusCalls, 2);
    EXPECT_EQ(readLogFile(log), "scene framebuffer failed\r\n");
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    closeSurfaceWindow(surface);
}

} // namespace
