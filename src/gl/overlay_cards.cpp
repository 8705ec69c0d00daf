#include "gl/overlay_cards.h"

#include "gl/card_layout.h"
#include "gl/gl_functions.h"
#include "shell/screen_surface.h"

void drawOverlayCard(const ScreenSurface& surface, const OverlayCard& card, int index, float cardFade) {
    if (card.texture == 0) {
        return;
    }
    const CardRect rect = cardRect(index, card.width, card.height, surface.width, surface.height, surface.scale);
    const GLuint program = surface.overlayProgram;
    gl.glUseProgram(program);
    gl.glUniform4f(gl.glGetUniformLocation(program, "uRect"), rect.x, rect.y, rect.width, rect.height);
    gl.glUniform2f(gl.glGetUniformLocation(program, "uRes"), static_cast<float>(surface.width),
                   static_cast<float>(surface.height));
    gl.glUniform1f(gl.glGetUniformLocation(program, "uAlpha"), cardFade);
    gl.glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, card.texture);
    gl.glUniform1i(gl.glGetUniformLocation(program, "uTex"), 0);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
}
