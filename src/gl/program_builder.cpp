#include "gl/program_builder.h"

#include "base/diagnostic_log.h"

#include <cstring>

namespace {

// One query asks for at most one character less than the buffer holds, so the zero-filled buffer
// always ends in a terminator whatever the driver writes.
constexpr GLsizei infoLogBufferSize = 4096;

// Reads a compile or link status; when it is 0, logs the object's info log with the given format.
template <typename GetStatus, typename GetInfoLog>
bool statusSucceeded(GLuint object, GLenum statusName, GetStatus getStatus, GetInfoLog getInfoLog,
                     const char* format, const char* programName) {
    GLint status = 0; // a driver that leaves it unwritten counts as a failure
    getStatus(object, statusName, &status);
    if (status != 0) {
        return true;
    }
    char infoLog[infoLogBufferSize];
    std::memset(infoLog, 0, sizeof infoLog);
    getInfoLog(object, infoLogBufferSize - 1, nullptr, infoLog);
    writeLog(format, programName, infoLog);
    return false;
}

// Creates, sources and compiles one stage. Returns the shader, or 0 after logging the compiler's
// message when it does not compile.
GLuint compileStage(const GlFunctions& gl, GLenum stage, const char* source, const char* programName) {
    const GLuint shader = gl.glCreateShader(stage);
    gl.glShaderSource(shader, 1, &source, nullptr);
    gl.glCompileShader(shader);
    return statusSucceeded(shader, GL_COMPILE_STATUS, gl.glGetShaderiv, gl.glGetShaderInfoLog,
                           "shader %s failed: %s", programName)
               ? shader
               : 0;
}

// Links the stages into a new program; outputs, when given, are recorded by transform feedback.
GLuint linkStages(const GlFunctions& gl, GLuint vertexShader, GLuint fragmentShader,
                  const char* const* outputs, GLsizei outputCount, const char* programName) {
    const GLuint program = gl.glCreateProgram();
    gl.glAttachShader(program, vertexShader);
    if (fragmentShader != 0) {
        gl.glAttachShader(program, fragmentShader);
    }
    if (outputCount > 0) {
        gl.glTransformFeedbackVaryings(program, outputCount, outputs, GL_INTERLEAVED_ATTRIBS);
    }
    gl.glLinkProgram(program);
    return statusSucceeded(program, GL_LINK_STATUS, gl.glGetProgramiv, gl.glGetProgramInfoLog,
                           "link %s failed: %s", programName)
               ? program
               : 0;
}

} // namespace

GLuint buildProgram(const GlFunctions& gl, const char* vertexSource, const char* fragmentSource,
                    const char* programName) {
    // The fragment stage is compiled even after a vertex failure, so one log shows both errors.
    const GLuint vertexShader = compileStage(gl, GL_VERTEX_SHADER, vertexSource, programName);
    const GLuint fragmentShader = compileStage(gl, GL_FRAGMENT_SHADER, fragmentSource, programName);
    if (fragmentShader == 0 || vertexShader == 0) {
        return 0;
    }
    return linkStages(gl, vertexShader, fragmentShader, nullptr, 0, programName);
}

GLuint buildFeedbackProgram(const GlFunctions& gl, const char* vertexSource, const char* const* outputs,
                            GLsizei outputCount, const char* programName) {
    const GLuint vertexShader = compileStage(gl, GL_VERTEX_SHADER, vertexSource, programName);
    return vertexShader != 0 ? linkStages(gl, vertexShader, 0, outputs, outputCount, programName) : 0;
}
