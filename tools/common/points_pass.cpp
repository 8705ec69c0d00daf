#include "common/points_pass.h"

#include "gl/gl_functions.h"

#include <cstring>

bool createPointsTarget(PointsTarget& target, int width, int height) {
    target = PointsTarget();
    target.width = width;
    target.height = height;
    glGenTextures(1, &target.texture);
    glBindTexture(GL_TEXTURE_2D, target.texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA16F, width, height, 0, GL_RGBA, GL_HALF_FLOAT, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    gl.glGenFramebuffers(1, &target.framebuffer);
    gl.glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    gl.glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, target.texture, 0);
    return gl.glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

void drawPointsPass(const PointsTarget& target, GLuint program, GLuint vertexArray, float saverTime,
                    int first, int count) {
    gl.glBindVertexArray(vertexArray);
    gl.glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    glViewport(0, 0, target.width, target.height);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_PROGRAM_POINT_SIZE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    gl.glUseProgram(program);
    gl.glUniform1f(gl.glGetUniformLocation(program, "uT"), saverTime);
    gl.glUniform2f(gl.glGetUniformLocation(program, "uRes"), static_cast<float>(target.width),
                   static_cast<float>(target.height));
    glDrawArrays(GL_POINTS, first, count);
    glDisable(GL_BLEND);
}

std::vector<float> readPointsTarget(const PointsTarget& target) {
    const std::size_t rowFloats = static_cast<std::size_t>(target.width) * 4;
    std::vector<float> bottomUp(rowFloats * static_cast<std::size_t>(target.height));
    gl.glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, target.width, target.height, GL_RGBA, GL_FLOAT, bottomUp.data());
    std::vector<float> topDown(bottomUp.size());
    for (int row = 0; row < target.height; ++row) {
        const std::size_t from = static_cast<std::size_t>(target.height - 1 - row) * rowFloats;
        std::memcpy(&topDown[static_cast<std::size_t>(row) * rowFloats], &bottomUp[from],
                    rowFloats * sizeof(float));
    }
    return topDown;
}
