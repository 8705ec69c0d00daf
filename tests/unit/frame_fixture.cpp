#include "frame_fixture.h"

#include "assets/pictures.h"
#include "gl/gl_functions.h"

#include <gdiplus.h>

bool openFrameFixture(FrameFixture& fixture, int width, int height) {
    static bool decoded = false;
    if (!decoded) {
        Gdiplus::GdiplusStartupInput input;
        ULONG_PTR token = 0;
        Gdiplus::GdiplusStartup(&token, &input, nullptr);
        decodeEmbeddedPictures();
        decoded = true;
    }
    return openOffscreenFrame(fixture, width, height);
}

Image readOutput(const FrameFixture& fixture) {
    return {fixture.surface.width, fixture.surface.height, readOffscreenPixels(fixture)};
}

void fillTarget(GLuint framebuffer, int width, int height, float red, float green, float blue) {
    gl.glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glViewport(0, 0, width, height);
    glClearColor(red, green, blue, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}
