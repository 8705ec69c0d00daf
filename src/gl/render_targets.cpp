#include "gl/render_targets.h"

#include "base/diagnostic_log.h"
#include "gl/target_sizes.h"
#include "gl/texture_upload.h"

RenderTarget createRenderTarget(const GlFunctions& gl, int width, int height, bool halfFloat) {
    RenderTarget target;
    target.width = width;
    target.height = height;
    glGenTextures(1, &target.texture);
    glBindTexture(GL_TEXTURE_2D, target.texture);
    glTexImage2D(GL_TEXTURE_2D, 0, halfFloat ? GL_RGBA16F : GL_RGBA8, width, height, 0, GL_RGBA,
                 halfFloat ? GL_HALF_FLOAT : GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    gl.glGenFramebuffers(1, &target.framebuffer);
    gl.glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    gl.glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, target.texture, 0);
    return target;
}

namespace {

bool framebufferComplete(const GlFunctions& gl) {
    return gl.glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

// A target that did not work out is deleted at once: at 4K the refused half-float one holds ~29 MB.
void deleteRenderTarget(const GlFunctions& gl, RenderTarget& target) {
    gl.glBindFramebuffer(GL_FRAMEBUFFER, 0);
    gl.glDeleteFramebuffers(1, &target.framebuffer);
    glDeleteTextures(1, &target.texture);
    target = RenderTarget();
}

} // namespace

bool createGlTargets(GlRenderer& renderer, const WindowSurface& surface, const Pictures& pictures) {
    const GlFunctions& gl = renderer.gl;
    gl.glGenVertexArrays(1, &renderer.emptyVao);
    gl.glBindVertexArray(renderer.emptyVao);

    // Half-float targets keep the additive glow from clipping; 8 bits is the fallback.
    const TargetSizes sizes = targetSizes(surface.width, surface.height);
    renderer.scene = createRenderTarget(gl, sizes.sceneWidth, sizes.sceneHeight, true);
    const bool halfFloat = framebufferComplete(gl);
    if (!halfFloat) {
        deleteRenderTarget(gl, renderer.scene);
        renderer.scene = createRenderTarget(gl, sizes.sceneWidth, sizes.sceneHeight, false);
        if (!framebufferComplete(gl)) {
            writeLog("scene framebuffer failed");
            return false;
        }
    }
    renderer.bloomA = createRenderTarget(gl, sizes.bloomWidth, sizes.bloomHeight, halfFloat);
    renderer.bloomB = createRenderTarget(gl, sizes.bloomWidth, sizes.bloomHeight, halfFloat);
    gl.glBindFramebuffer(GL_FRAMEBUFFER, 0);

    // Made in preview windows too, although only full-screen windows draw them.
    for (int card = 0; card < cardCount; ++card) {
        renderer.cards[card] = uploadImageTexture(pictures[overlayCards[card].picture]);
    }

    glEnable(GL_PROGRAM_POINT_SIZE);
    glGetError();
    return true;
}
