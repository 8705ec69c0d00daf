#include "gl/gl_frame.h"

#include "gl/gl_functions.h"
#include "gl/overlay_cards.h"
#include "gl/point_ranges.h"
#include "gl/point_timeline.h"
#include "shell/saver_state.h"
#include "shell/screen_surface.h"

namespace {

void blurPass(const ScreenSurface& surface, GLuint targetFramebuffer, GLuint sourceTexture, float stepX,
              float stepY) {
    gl.glBindFramebuffer(GL_FRAMEBUFFER, targetFramebuffer);
    glViewport(0, 0, surface.bloomWidth, surface.bloomHeight);
    const GLuint program = surface.blurProgram;
    gl.glUseProgram(program);
    gl.glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, sourceTexture);
    gl.glUniform1i(gl.glGetUniformLocation(program, "uTex"), 0);
    gl.glUniform2f(gl.glGetUniformLocation(program, "uDir"), stepX, stepY);
    glDrawArrays(GL_TRIANGLES, 0, 3);
}

} // namespace

void drawPointPass(const ScreenSurface& surface, float saverTime) {
    gl.glBindVertexArray(surface.emptyVao);
    gl.glBindFramebuffer(GL_FRAMEBUFFER, surface.sceneFramebuffer);
    glViewport(0, 0, surface.sceneWidth, surface.sceneHeight);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    const GLuint program = surface.pointsProgram;
    gl.glUseProgram(program);
    setPointUniforms(program, saverTime, surface.sceneWidth, surface.sceneHeight);
    drawPoints(surface, litPointRanges(saverTime));
    glDisable(GL_BLEND);
}

void drawPoints(const ScreenSurface& surface, const PointRanges& ranges) {
    for (int index = 0; index < ranges.count; ++index) {
        const PointRange& range = ranges.ranges[index];
        gl.glBindVertexArray(range.first < modelPointCount ? surface.modelVao : surface.emptyVao);
        glDrawArrays(GL_POINTS, range.first, range.count);
    }
    gl.glBindVertexArray(surface.emptyVao);
}

// Four separable passes ping-ponging between the quarter-size targets; steps in blur texels.
void drawBloomPasses(const ScreenSurface& surface) {
    const float width = static_cast<float>(surface.bloomWidth);
    const float height = static_cast<float>(surface.bloomHeight);
    blurPass(surface, surface.bloomFramebufferA, surface.sceneTexture, 1.5f / width, 0.0f);
    blurPass(surface, surface.bloomFramebufferB, surface.bloomTextureA, 0.0f, 1.5f / height);
    blurPass(surface, surface.bloomFramebufferA, surface.bloomTextureB, 3.0f / width, 0.0f);
    blurPass(surface, surface.bloomFramebufferB, surface.bloomTextureA, 0.0f, 3.0f / height);
}

void drawCompositePass(const ScreenSurface& surface, float saverTime, GLuint outputFramebuffer) {
    gl.glBindFramebuffer(GL_FRAMEBUFFER, outputFramebuffer);
    glViewport(0, 0, surface.width, surface.height);
    const GLuint program = surface.compositeProgram;
    gl.glUseProgram(program);
    gl.glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, surface.sceneTexture);
    gl.glUniform1i(gl.glGetUniformLocation(program, "uScene"), 0);
    gl.glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, surface.bloomTextureB);
    gl.glUniform1i(gl.glGetUniformLocation(program, "uBloom"), 1);
    gl.glUniform2f(gl.glGetUniformLocation(program, "uRes"), static_cast<float>(surface.width),
                   static_cast<float>(surface.height));
    gl.glUniform1f(gl.glGetUniformLocation(program, "uT"), saverTime);
    glDrawArrays(GL_TRIANGLES, 0, 3);
}

void drawCardPass(const ScreenSurface& surface, float cardFade) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    for (int index = 0; index < 3; ++index) {
        drawOverlayCard(surface, surface.cards[index], index, cardFade);
    }
    glDisable(GL_BLEND);
}

void renderGlFrame(const ScreenSurface& surface, float saverTime, float cardFade, GLuint outputFramebuffer) {
    drawPointPass(surface, saverTime);
    drawBloomPasses(surface);
    drawCompositePass(surface, saverTime, outputFramebuffer);
    if (!previewMode) {
        drawCardPass(surface, cardFade);
    }
}

void drawGlFrame(ScreenSurface& surface, float saverTime, float cardFade) {
    renderGlFrame(surface, saverTime, cardFade, 0);
    SwapBuffers(surface.dc);
}
