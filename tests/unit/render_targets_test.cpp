#include "gl/render_targets.h"
#include "support/test_windows.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

// A driver that cannot render to half floats fails the first completeness test.
GlFunctions* table = nullptr;
decltype(GlFunctions::glCheckFramebufferStatus) realCheckStatus = nullptr;
GLint refusedTexture = 0;
GLenum WINAPI halfFloatIncomplete(GLenum) {
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &refusedTexture);
    table->glCheckFramebufferStatus = realCheckStatus;
    return 0x8CD6; // GL_FRAMEBUFFER_INCOMPLETE_ATTACHMENT
}

// The point target keeps the window's aspect in at most 1440 rows (2560 x 1440 / 1600 is 2304 in
// single precision, 2303 in double); the blur targets are a quarter of it, rounded down, at least 1.
// All three are half-float where the driver renders to it, else 8-bit, silently, and the refused
// half-float target is deleted rather than left behind (at 4K it holds ~29 MB).
TEST(RenderTargets, TargetsHaveTheirSizesAndTheBestFormat) {
    // The window's, the point target's and the blur targets' sizes, and the targets' format.
    const std::tuple<SIZE, SIZE, SIZE, GLint> cases[] = {{{2560, 1600}, {2304, 1440}, {576, 360}, GL_RGBA16F},
                                                         {{1366, 768}, {1366, 768}, {341, 192}, GL_RGBA8},
                                                         {{3, 3}, {3, 3}, {1, 1}, GL_RGBA16F}};
    for (const auto& [window, scene, bloom, format] : cases) {
        SCOPED_TRACE(window.cx);
        const std::wstring log = redirectTempDirectory();
        OffscreenFrame frame;
        ASSERT_TRUE(openGlTestContext(frame, window.cx, window.cy));
        table = &frame.renderer.gl;
        refusedTexture = 0;
        realCheckStatus = table->glCheckFramebufferStatus;
        if (format == GL_RGBA8) {
            table->glCheckFramebufferStatus = halfFloatIncomplete;
        }
        const GlRenderer& r = frame.renderer;
        EXPECT_TRUE(createGlTargets(frame.renderer, frame.surface, Pictures()));
        for (GLuint texture : {r.scene.texture, r.bloomA.texture, r.bloomB.texture}) {
            const SIZE size = texture == r.scene.texture ? scene : bloom;
            GLint width = 0, height = 0, made = 0;
            glBindTexture(GL_TEXTURE_2D, texture);
            glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
            glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
            glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, 0x1003, &made); // GL_TEXTURE_INTERNAL_FORMAT
            EXPECT_EQ(std::tuple(width, height, made), std::tuple(size.cx, size.cy, format));
        }
        EXPECT_EQ(readLogFile(log), "");
        EXPECT_FALSE(refusedTexture != 0 && glIsTexture(static_cast<GLuint>(refusedTexture)));
        closeOffscreenFrame(frame);
    }
}

} // namespace
