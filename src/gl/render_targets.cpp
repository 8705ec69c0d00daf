#include "gl/render_targets.h"

#include "assets/pictures.h"
#include "assets/texture_upload.h"
#include "gl/gl_functions.h"
#include "gl/target_sizes.h"
#include "shell/diagnostic_log.h"
#include "shell/screen_surface.h"

GLuint createRenderTarget(int width, int height, bool halfFloat, GLuint& framebuffer) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, halfFloat ? GL_RGBA16F : GL_RGBA8, width, height, 0, GL_RGBA,
                 halfFloat ? GL_HALF_FLOAT : GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    gl.glGenFramebuffers(1, &framebuffer);
    gl.glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    gl.glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    return texture;
}

bool createGlResources(ScreenSurface& surface) {
    gl.glGenVertexArrays(1, &surface.emptyVao);
    gl.glBindVertexArray(surface.emptyVao);

    const TargetSizes sizes = targetSizes(surface.width, surface.height);
    surface.sceneWidth = sizes.sceneWidth;
    surface.sceneHeight = sizes.sceneHeight;
    surface.bloomWidth = sizes.bloomWidth;
    surface.bloomHeight = sizes.bloomHeight;

    // Half-float targets keep the additive glow from clipping; 8 bits is the fallback.
    surface.sceneTexture = createRenderTarget(sizes.sceneWidth, sizes.sceneHeight, true, surface.sceneFramebuffer);
    const bool halfFloat = gl.glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    if (!halfFloat) {
        surface.sceneTexture =
            createRenderTarget(sizes.sceneWidth, sizes.sceneHeight, false, surface.sceneFramebuffer);
        if (gl.glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
            writeLog("scene framebuffer failed");
            return false;
        }
    }
    surface.bloomTextureA =
        createRenderTarget(sizes.bloomWidth, sizes.bloomHeight, halfFloat, surface.bloomFramebufferA);
    surface.bloomTextureB =
        createRenderTarget(sizes.bloomWidth, sizes.bloomHeight, halfFloat, surface.bloomFramebufferB);
    gl.glBindFramebuffer(GL_FRAMEBUFFER, 0);

    // Made in preview windows too, although only full-screen windows draw them.
    surface.cards[0] = uploadImageTexture(logoPicture);
    surface.cards[1] = uploadImageTexture(taglinePicture);
    surface.cards[2] = uploadImageTexture(helpCardPicture);

    glEnable(GL_PROGRAM_POINT_SIZE);
    glGetError();
    surface.useGl = true;
    return true;
}
