#include "points_capture.h"

#include "gl/gl_functions.h"
#include "gl/program_builder.h"
#include "shaders/shader_sources.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr GLenum rasterizerDiscard = 0x8C89;
constexpr GLenum interleavedAttribs = 0x8C8C;
constexpr GLenum feedbackBuffer = 0x8C8E;
constexpr GLenum dynamicCopy = 0x88EA;

// Entry points the saver itself never needs.
struct CaptureFunctions {
    void(WINAPI* transformFeedbackVaryings)(GLuint, GLsizei, const GLchar* const*, GLenum);
    void(WINAPI* genBuffers)(GLsizei, GLuint*);
    void(WINAPI* bindBuffer)(GLenum, GLuint);
    void(WINAPI* bufferData)(GLenum, std::ptrdiff_t, const void*, GLenum);
    void(WINAPI* bindBufferBase)(GLenum, GLuint, GLuint);
    void(WINAPI* beginTransformFeedback)(GLenum);
    void(WINAPI* endTransformFeedback)();
    void(WINAPI* getBufferSubData)(GLenum, std::ptrdiff_t, std::ptrdiff_t, void*);
    void(WINAPI* deleteBuffers)(GLsizei, const GLuint*);
} feedback = {};

template <typename Function> bool fetch(Function& slot, const char* name) {
    slot = procAs<Function>(wglGetProcAddress(name));
    if (slot == nullptr) {
        std::printf("missing %s\n", name);
    }
    return slot != nullptr;
}

// The saver's own build, then a relink: transform feedback takes the varyings named before a link.
GLuint linkRecording(const char* vertexSource, const char* fragmentSource, const char* const (&varyings)[3]) {
    const GLuint program = buildProgram(vertexSource, fragmentSource, "capture");
    if (program == 0) {
        return 0;
    }
    feedback.transformFeedbackVaryings(program, 3, varyings, interleavedAttribs);
    gl.glLinkProgram(program);
    GLint status = 0;
    gl.glGetProgramiv(program, GL_LINK_STATUS, &status);
    return status == 0 ? 0 : program;
}

} // namespace

bool CaptureSuite::openCaptureSurface() {
    return openGlTestSurface(surface, 64, 64) &&
           fetch(feedback.transformFeedbackVaryings, "glTransformFeedbackVaryings") &&
           fetch(feedback.genBuffers, "glGenBuffers") && fetch(feedback.bindBuffer, "glBindBuffer") &&
           fetch(feedback.bufferData, "glBufferData") && fetch(feedback.bindBufferBase, "glBindBufferBase") &&
           fetch(feedback.beginTransformFeedback, "glBeginTransformFeedback") &&
           fetch(feedback.endTransformFeedback, "glEndTransformFeedback") &&
           fetch(feedback.getBufferSubData, "glGetBufferSubData") &&
           fetch(feedback.deleteBuffers, "glDeleteBuffers");
}

GLuint linkPointsCaptureProgram() {
    return linkRecording(pointsVertexSource, pointsFragmentSource, {"gl_Position", "gl_PointSize", "vCol"});
}

GLuint linkProbeProgram(const char* probeMain) {
    // The source's main is renamed by the preprocessor; the #version line has to stay first.
    const char* afterVersion = std::strchr(pointsVertexSource, '\n');
    if (std::strncmp(pointsVertexSource, "#version", 8) != 0 || afterVersion == nullptr) {
        return 0;
    }
    std::string source(pointsVertexSource, afterVersion + 1);
    source += "#define main unusedPointsMain\n";
    source += afterVersion + 1;
    source += "\n#undef main\nout vec4 vProbeA;\nout vec4 vProbeB;\nout vec4 vProbeC;\n";
    source += probeMain;
    const char* const fragment = "#version 330 core\nout vec4 oCol;\nvoid main() { oCol = vec4(1.0); }\n";
    return linkRecording(source.c_str(), fragment, {"vProbeA", "vProbeB", "vProbeC"});
}

void recordVertices(GLuint program, int first, int count, float saverTime, float width, float height,
                    void* output, std::size_t bytesPerVertex) {
    GLuint vertexArray = 0;
    gl.glGenVertexArrays(1, &vertexArray);
    gl.glBindVertexArray(vertexArray);
    GLuint buffer = 0;
    feedback.genBuffers(1, &buffer);
    feedback.bindBuffer(feedbackBuffer, buffer);
    const auto size = static_cast<std::ptrdiff_t>(bytesPerVertex * static_cast<std::size_t>(count));
    feedback.bufferData(feedbackBuffer, size, nullptr, dynamicCopy);
    feedback.bindBufferBase(feedbackBuffer, 0, buffer);

    gl.glUseProgram(program);
    gl.glUniform1f(gl.glGetUniformLocation(program, "uT"), saverTime);
    gl.glUniform2f(gl.glGetUniformLocation(program, "uRes"), width, height);
    glEnable(rasterizerDiscard);
    feedback.beginTransformFeedback(GL_POINTS);
    glDrawArrays(GL_POINTS, first, count);
    feedback.endTransformFeedback();
    glDisable(rasterizerDiscard);
    feedback.getBufferSubData(feedbackBuffer, 0, size, output);
    feedback.bindBufferBase(feedbackBuffer, 0, 0);
    feedback.deleteBuffers(1, &buffer);
}
