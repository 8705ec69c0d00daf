#include "gl/gl_frame.h"

#include "gl/point_timeline.h"

namespace {

// Binds a pass's output and its vertex array: every pass builds its geometry from gl_VertexID.
void bindOutput(const GlRenderer& renderer, GLuint framebuffer, int width, int height) {
    renderer.gl.glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glViewport(0, 0, width, height);
    renderer.gl.glBindVertexArray(renderer.emptyVao);
}

void bindTexture(const GlFunctions& gl, GLint location, int unit, GLuint texture) {
    gl.glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
    glBindTexture(GL_TEXTURE_2D, texture);
    gl.glUniform1i(location, unit);
}

void drawPointPass(const GlRenderer& renderer, const GlFrameInput& frame) {
    const GlFunctions& gl = renderer.gl;
    const RenderTarget& scene = renderer.scene;
    bindOutput(renderer, scene.framebuffer, scene.width, scene.height);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    const PointsProgram& points = renderer.programs.points;
    gl.glUseProgram(points.program);
    const PointTimeline timeline = pointTimeline(frame.pass.saverTime);
    setPointUniforms(gl, points, timeline, frame.pass.programTime, scene.width, scene.height);
    drawPoints(renderer, litPointRanges(timeline));
    glDisable(GL_BLEND);
}

void blurPass(const GlRenderer& renderer, const RenderTarget& target, GLuint sourceTexture, float stepX,
              float stepY) {
    const GlFunctions& gl = renderer.gl;
    bindOutput(renderer, target.framebuffer, target.width, target.height);
    const BlurProgram& blur = renderer.programs.blur;
    gl.glUseProgram(blur.program);
    bindTexture(gl, blur.texture, 0, sourceTexture);
    gl.glUniform2f(blur.direction, stepX, stepY);
    glDrawArrays(GL_TRIANGLES, 0, 3);
}

// Four separable passes ping-ponging between the quarter-size targets; steps in blur texels.
void drawBloomPasses(const GlRenderer& renderer, const GlFrameInput&) {
    const RenderTarget& a = renderer.bloomA;
    const RenderTarget& b = renderer.bloomB;
    const float width = static_cast<float>(a.width);
    const float height = static_cast<float>(a.height);
    blurPass(renderer, a, renderer.scene.texture, 1.5f / width, 0.0f);
    blurPass(renderer, b, a.texture, 0.0f, 1.5f / height);
    blurPass(renderer, a, b.texture, 3.0f / width, 0.0f);
    blurPass(renderer, b, a.texture, 0.0f, 3.0f / height);
}

void drawCompositePass(const GlRenderer& renderer, const GlFrameInput& frame) {
    const GlFunctions& gl = renderer.gl;
    bindOutput(renderer, frame.outputFramebuffer, frame.surface.width, frame.surface.height);
    const CompositeProgram& composite = renderer.programs.composite;
    gl.glUseProgram(composite.program);
    bindTexture(gl, composite.scene, 0, renderer.scene.texture);
    bindTexture(gl, composite.bloom, 1, renderer.bloomB.texture);
    gl.glUniform2f(composite.resolution, static_cast<float>(frame.surface.width),
                   static_cast<float>(frame.surface.height));
    gl.glUniform1f(composite.time, frame.pass.programTime);
    glDrawArrays(GL_TRIANGLES, 0, 3);
}

// The cards over the composited frame, blended as premultiplied alpha; a card without texture is
// skipped without any GL call.
void drawCardPass(const GlRenderer& renderer, const GlFrameInput& frame) {
    const GlFunctions& gl = renderer.gl;
    const WindowSurface& surface = frame.surface;
    bindOutput(renderer, frame.outputFramebuffer, surface.width, surface.height);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    const OverlayProgram& overlay = renderer.programs.overlay;
    for (int index = 0; index < cardCount; ++index) {
        const OverlayCard& card = renderer.cards[index];
        if (card.texture == 0) {
            continue;
        }
        const CardRect rect = cardRect(overlayCards[index], card.width, card.height, surface.width,
                                       surface.height, surface.scale);
        gl.glUseProgram(overlay.program);
        gl.glUniform4f(overlay.rect, rect.x, rect.y, rect.width, rect.height);
        gl.glUniform2f(overlay.resolution, static_cast<float>(surface.width),
                       static_cast<float>(surface.height));
        gl.glUniform1f(overlay.alpha, frame.pass.cardFade);
        bindTexture(gl, overlay.texture, 0, card.texture);
        glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    }
    glDisable(GL_BLEND);
}

bool cardsShown(const GlFrameInput& frame) {
    return frame.pass.showCards;
}

} // namespace

const GlFramePass glFramePasses[glFramePassCount] = {
    {"points", drawPointPass, nullptr},
    {"blur (4 passes)", drawBloomPasses, nullptr},
    {"composite", drawCompositePass, nullptr},
    {"cards", drawCardPass, cardsShown},
};

void drawPoints(const GlRenderer& renderer, const PointRanges& ranges) {
    for (int index = 0; index < ranges.count; ++index) {
        const PointRange& range = ranges.ranges[index];
        renderer.gl.glBindVertexArray(range.first < modelPointCount ? renderer.modelVao : renderer.emptyVao);
        glDrawArrays(GL_POINTS, range.first, range.count);
    }
    renderer.gl.glBindVertexArray(renderer.emptyVao);
}

void renderGlFrame(const GlRenderer& renderer, const GlFrameInput& frame) {
    for (const GlFramePass& pass : glFramePasses) {
        if (pass.drawn == nullptr || pass.drawn(frame)) {
            pass.draw(renderer, frame);
        }
    }
}
