#include "points_capture.h"

#include "gl/gl_functions.h"
#include "shaders/shader_sources.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr GLenum rasterizerDiscard = 0x8C89;
constexpr GLenum interleavedAttribs = 0x8C8C;
constexpr GLenum transformFeedbackBuffer = 0x8C8E;
constexpr GLenum dynamicCopy = 0x88EA;

using PfnTransformFeedbackVaryings = void(WINAPI*)(GLuint program, GLsizei count,
                                                   const GLchar* const* varyings, GLenum bufferMode);
using PfnGenBuffers = void(WINAPI*)(GLsizei count, GLuint* buffers);
using PfnBindBuffer = void(WINAPI*)(GLenum target, GLuint buffer);
using PfnBufferData = void(WINAPI*)(GLenum target, std::ptrdiff_t size, const void* data, GLenum usage);
using PfnBindBufferBase = void(WINAPI*)(GLenum target, GLuint index, GLuint buffer);
using PfnBeginTransformFeedback = void(WINAPI*)(GLenum primitiveMode);
using PfnEndTransformFeedback = void(WINAPI*)();
using PfnGetBufferSubData = void(WINAPI*)(GLenum target, std::ptrdiff_t offset, std::ptrdiff_t size,
                                          void* data);
using PfnDeleteBuffers = void(WINAPI*)(GLsizei count, const GLuint* buffers);

struct CaptureFunctions {
    PfnTransformFeedbackVaryings transformFeedbackVaryings;
    PfnGenBuffers genBuffers;
    PfnBindBuffer bindBuffer;
    PfnBufferData bufferData;
    PfnBindBufferBase bindBufferBase;
    PfnBeginTransformFeedback beginTransformFeedback;
    PfnEndTransformFeedback endTransformFeedback;
    PfnGetBufferSubData getBufferSubData;
    PfnDeleteBuffers deleteBuffers;
};

CaptureFunctions capture = {};

template <typename Function> bool fetch(Function& slot, const char* name) {
    slot = procAs<Function>(wglGetProcAddress(name));
    if (slot == nullptr) {
        std::printf("missing %s\n", name);
    }
    return slot != nullptr;
}

GLuint compileOrReport(GLenum stage, const char* source) {
    const GLuint shader = gl.glCreateShader(stage);
    gl.glShaderSource(shader, 1, &source, nullptr);
    gl.glCompileShader(shader);
    GLint status = 0;
    gl.glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
    if (status == 0) {
        char log[4096] = {};
        gl.glGetShaderInfoLog(shader, sizeof log - 1, nullptr, log);
        std::printf("capture shader failed: %s\n", log);
        return 0;
    }
    return shader;
}

// The varyings are named before linking, as transform feedback requires.
GLuint linkRecording(const char* vertexSource, const char* fragmentSource, const char* const* varyings,
                     int varyingCount) {
    const GLuint vertexShader = compileOrReport(GL_VERTEX_SHADER, vertexSource);
    const GLuint fragmentShader =
        fragmentSource == nullptr ? 0 : compileOrReport(GL_FRAGMENT_SHADER, fragmentSource);
    if (vertexShader == 0 || (fragmentSource != nullptr && fragmentShader == 0)) {
        return 0;
    }
    const GLuint program = gl.glCreateProgram();
    gl.glAttachShader(program, vertexShader);
    if (fragmentShader != 0) {
        gl.glAttachShader(program, fragmentShader);
    }
    capture.transformFeedbackVaryings(program, varyingCount, varyings, interleavedAttribs);
    gl.glLinkProgram(program);
    GLint status = 0;
    gl.glGetProgramiv(program, GL_LINK_STATUS, &status);
    if (status == 0) {
        char log[4096] = {};
        gl.glGetProgramInfoLog(program, sizeof log - 1, nullptr, log);
        std::printf("capture link failed: %s\n", log);
        return 0;
    }
    return program;
}

void recordVertices(GLuint program, int first, int count, float saverTime, float width, float height,
                    void* output, std::size_t bytesPerVertex) {
    GLuint vertexArray = 0;
    gl.glGenVertexArrays(1, &vertexArray);
    gl.glBindVertexArray(vertexArray);
    GLuint buffer = 0;
    capture.genBuffers(1, &buffer);
    capture.bindBuffer(transformFeedbackBuffer, buffer);
    const auto size = static_cast<std::ptrdiff_t>(bytesPerVertex * static_cast<std::size_t>(count));
    capture.bufferData(transformFeedbackBuffer, size, nullptr, dynamicCopy);
    capture.bindBufferBase(transformFeedbackBuffer, 0, buffer);

    gl.glUseProgram(program);
    gl.glUniform1f(gl.glGetUniformLocation(program, "uT"), saverTime);
    gl.glUniform2f(gl.glGetUniformLocation(program, "uRes"), width, height);
    glEnable(rasterizerDiscard);
    capture.beginTransformFeedback(GL_POINTS);
    glDrawArrays(GL_POINTS, first, count);
    capture.endTransformFeedback();
    glDisable(rasterizerDiscard);
    capture.getBufferSubData(transformFeedbackBuffer, 0, size, output);
    capture.bindBufferBase(transformFeedbackBuffer, 0, 0);
    capture.deleteBuffers(1, &buffer);
}

} // namespace

bool loadCaptureFunctions() {
    return fetch(capture.transformFeedbackVaryings, "glTransformFeedbackVaryings") &&
           fetch(capture.genBuffers, "glGenBuffers") && fetch(capture.bindBuffer, "glBindBuffer") &&
           fetch(capture.bufferData, "glBufferData") && fetch(capture.bindBufferBase, "glBindBufferBase") &&
           fetch(capture.beginTransformFeedback, "glBeginTransformFeedback") &&
           fetch(capture.endTransformFeedback, "glEndTransformFeedback") &&
           fetch(capture.getBufferSubData, "glGetBufferSubData") &&
           fetch(capture.deleteBuffers, "glDeleteBuffers");
}

GLuint linkPointsCaptureProgram() {
    const char* const varyings[] = {"gl_Position", "gl_PointSize", "vCol"};
    return linkRecording(pointsVertexSource, pointsFragmentSource, varyings, 3);
}

GLuint linkProbeProgram(const char* probeMain) {
    // The source's own main is renamed by the preprocessor so that the probe's main can follow it;
    // the #version line has to stay first.
    const char* afterVersion = std::strchr(pointsVertexSource, '\n');
    if (std::strncmp(pointsVertexSource, "#version", 8) != 0 || afterVersion == nullptr) {
        std::printf("the point-cloud vertex source does not start with #version\n");
        return 0;
    }
    std::string source(pointsVertexSource, static_cast<std::size_t>(afterVersion - pointsVertexSource) + 1);
    source += "#define main unusedPointsMain\n";
    source += afterVersion + 1;
    source += "\n#undef main\nout vec4 vProbeA;\nout vec4 vProbeB;\nout vec4 vProbeC;\n";
    source += probeMain;
    const char* const varyings[] = {"vProbeA", "vProbeB", "vProbeC"};
    return linkRecording(source.c_str(), nullptr, varyings, 3);
}

std::vector<CapturedPoint> capturePoints(GLuint program, int first, int count, float saverTime, float width,
                                         float height) {
    std::vector<CapturedPoint> points(static_cast<std::size_t>(count));
    static_assert(sizeof(CapturedPoint) == 8 * sizeof(float));
    recordVertices(program, first, count, saverTime, width, height, points.data(), sizeof(CapturedPoint));
    return points;
}

std::vector<ProbeRecord> captureProbe(GLuint program, int first, int count, float saverTime) {
    std::vector<ProbeRecord> records(static_cast<std::size_t>(count));
    static_assert(sizeof(ProbeRecord) == 12 * sizeof(float));
    recordVertices(program, first, count, saverTime, 1920.0f, 1080.0f, records.data(), sizeof(ProbeRecord));
    return records;
}
