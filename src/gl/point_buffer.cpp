#include "gl/point_buffer.h"

#include "base/diagnostic_log.h"

#include <cstdint>

namespace {

// Records the bake's outputs for every model point; returns how many points the driver wrote.
GLuint bakeModelPoints(const GlRenderer& renderer) {
    const GlFunctions& gl = renderer.gl;
    GLuint query = 0;
    gl.glGenQueries(1, &query);
    gl.glBindVertexArray(renderer.emptyVao);
    gl.glUseProgram(renderer.programs.bake);
    gl.glBindBufferBase(GL_TRANSFORM_FEEDBACK_BUFFER, 0, renderer.pointBuffer);
    glEnable(GL_RASTERIZER_DISCARD);
    gl.glBeginQuery(GL_TRANSFORM_FEEDBACK_PRIMITIVES_WRITTEN, query);
    gl.glBeginTransformFeedback(GL_POINTS);
    glDrawArrays(GL_POINTS, 0, modelPointCount);
    gl.glEndTransformFeedback();
    gl.glEndQuery(GL_TRANSFORM_FEEDBACK_PRIMITIVES_WRITTEN);
    glDisable(GL_RASTERIZER_DISCARD);
    gl.glBindBufferBase(GL_TRANSFORM_FEEDBACK_BUFFER, 0, 0);
    GLuint written = 0;
    gl.glGetQueryObjectuiv(query, GL_QUERY_RESULT, &written);
    gl.glDeleteQueries(1, &query);
    return written;
}

} // namespace

bool createPointBuffer(GlRenderer& renderer) {
    const GlFunctions& gl = renderer.gl;
    gl.glGenBuffers(1, &renderer.pointBuffer);
    gl.glBindBuffer(GL_ARRAY_BUFFER, renderer.pointBuffer);
    gl.glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(modelPointCount) * pointBufferStride, nullptr,
                    GL_STATIC_DRAW);
    // A buffer the driver could not allocate records nothing, so the count covers that too.
    if (bakeModelPoints(renderer) != static_cast<GLuint>(modelPointCount)) {
        gl.glBindVertexArray(renderer.emptyVao);
        writeLog("point buffer failed");
        return false;
    }
    gl.glGenVertexArrays(1, &renderer.modelVao);
    gl.glBindVertexArray(renderer.modelVao);
    const GLint sizes[pointBufferOutputCount] = {4, 3, 3, 3};
    std::uintptr_t offset = 0;
    for (GLuint index = 0; index < pointBufferOutputCount; ++index) {
        gl.glVertexAttribPointer(index, sizes[index], GL_FLOAT, GL_FALSE, pointBufferStride,
                                 reinterpret_cast<const void*>(offset));
        gl.glEnableVertexAttribArray(index);
        offset += static_cast<std::uintptr_t>(sizes[index]) * sizeof(float);
    }
    // The blur and composite passes draw through the empty vertex array.
    gl.glBindVertexArray(renderer.emptyVao);
    return true;
}
