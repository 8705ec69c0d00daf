#include "gl/point_buffer.h"

#include "base/diagnostic_log.h"
#include "gl/point_buffer_check.h"
#include "gl/program_builder.h"
#include "shaders/shader_sources.h"

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

// What of the bake failed, or null when the point buffer (bound as the array buffer) holds the model.
const char* bakeFailure(GlRenderer& renderer) {
    const GlFunctions& gl = renderer.gl;
    if (renderer.programs.bake == 0) {
        return "bake program";
    }
    gl.glGenBuffers(1, &renderer.pointBuffer);
    gl.glBindBuffer(GL_ARRAY_BUFFER, renderer.pointBuffer);
    gl.glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(modelPointCount) * pointBufferStride, nullptr,
                    GL_STATIC_DRAW);
    // A buffer the driver could not allocate records nothing, so the count covers that too.
    if (bakeModelPoints(renderer) != static_cast<GLuint>(modelPointCount)) {
        return "count";
    }
    return pointBufferHoldsTheModel(gl) ? nullptr : "contents";
}

// The vertex array that feeds the point buffer to the points program's attributes.
void describePointBuffer(GlRenderer& renderer) {
    const GlFunctions& gl = renderer.gl;
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
}

} // namespace

bool prepareModelPoints(GlRenderer& renderer) {
    const char* failure = bakeFailure(renderer);
    if (failure == nullptr) {
        describePointBuffer(renderer);
    } else if (generateModelPerVertex(renderer)) {
        // The bake only saves work per frame: it must never cost the window its picture.
        writeLog("point buffer failed (%s), model generated per vertex", failure);
    } else {
        return false;
    }
    // The blur and composite passes draw through the empty vertex array.
    renderer.gl.glBindVertexArray(renderer.emptyVao);
    return true;
}

bool generateModelPerVertex(GlRenderer& renderer) {
    const GlFunctions& gl = renderer.gl;
    const GLuint program =
        buildProgram(gl, pointsGeneratedVertexSource, pointsFragmentSource, "generated points");
    if (program == 0) {
        return false;
    }
    renderer.programs.points.program = program;
    lookUpProgramUniforms(gl, renderer.programs);
    gl.glDeleteBuffers(1, &renderer.pointBuffer); // a buffer never made is 0, which is ignored
    renderer.pointBuffer = 0;
    renderer.modelVao = renderer.emptyVao;
    return true;
}
