#include "frame_fixture.h"

#include "assets/pictures.h"
#include "gl/gl_functions.h"
#include "gl/layout.h"
#include "gl/program_builder.h"
#include "gl/render_targets.h"
#include "support/test_windows.h"

#include <gdiplus.h>

#include <algorithm>

void ensurePicturesDecoded() {
    static bool decoded = false;
    if (decoded) {
        return;
    }
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    decodeEmbeddedPictures();
    decoded = true;
}

bool openFrameFixture(FrameFixture& fixture, int width, int height) {
    ensurePicturesDecoded();
    if (!openGlTestSurface(fixture.surface, 64, 64)) {
        return false;
    }
    // The targets are sized from these fields, not from the (small, hidden) window.
    fixture.surface.width = width;
    fixture.surface.height = height;
    fixture.surface.scale = layoutScale(width, height);
    if (!buildSurfacePrograms(fixture.surface) || !createGlResources(fixture.surface)) {
        return false;
    }
    fixture.outputTexture = createRenderTarget(width, height, false, fixture.outputFramebuffer);
    return gl.glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

void closeFrameFixture(FrameFixture& fixture) { closeTestSurface(fixture.surface); }

Image readOutput(const FrameFixture& fixture) {
    Image image;
    image.width = fixture.surface.width;
    image.height = fixture.surface.height;
    std::vector<std::uint8_t> bottomUp(static_cast<size_t>(image.width) * image.height * 4);
    gl.glBindFramebuffer(GL_FRAMEBUFFER, fixture.outputFramebuffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, image.width, image.height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    image.rgba.resize(bottomUp.size());
    const size_t row = static_cast<size_t>(image.width) * 4;
    for (int y = 0; y < image.height; ++y) {
        std::copy_n(&bottomUp[(image.height - 1 - y) * row], row, &image.rgba[y * row]);
    }
    return image;
}

void fillTarget(GLuint framebuffer, int width, int height, float red, float green, float blue) {
    gl.glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glViewport(0, 0, width, height);
    glClearColor(red, green, blue, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}
