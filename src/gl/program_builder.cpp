#include "gl/program_builder.h"

#include "gl/gl_functions.h"
#include "shaders/shader_sources.h"
#include "shell/diagnostic_log.h"
#include "shell/screen_surface.h"

#include <cstring>

namespace {

// One query asks for at most one character less than the buffer holds, so the zero-filled buffer
// always ends in a terminator whatever the driver writes.
constexpr GLsizei infoLogBufferSize = 4096;

// Creates, sources and compiles one stage. Returns the shader, or 0 after logging the compiler's
// message when it does not compile.
GLuint compileStage(GLenum stage, const char* source, const char* programName) {
    const GLuint shader = gl.glCreateShader(stage);
    gl.glShaderSource(shader, 1, &source, nullptr);
    gl.glCompileShader(shader);
    GLint status = 0; // a driver that leaves it unwritten counts as a failure
    gl.glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
    if (status != 0) {
        return shader;
    }
    char infoLog[infoLogBufferSize];
    std::memset(infoLog, 0, sizeof infoLog);
    gl.glGetShaderInfoLog(shader, infoLogBufferSize - 1, nullptr, infoLog);
    writeLog("shader %s failed: %s", programName, infoLog);
    return 0;
}

} // namespace

GLuint buildProgram(const char* vertexSource, const char* fragmentSource, const char* programName) {
    // The fragment stage is compiled even after a vertex failure, so one log shows both errors.
    const GLuint vertexShader = compileStage(GL_VERTEX_SHADER, vertexSource, programName);
    const GLuint fragmentShader = compileStage(GL_FRAGMENT_SHADER, fragmentSource, programName);
    if (fragmentShader == 0 || vertexShader == 0) {
        return 0;
    }
    const GLuint program = gl.glCreateProgram();
    gl.glAttachShader(program, vertexShader);
    gl.glAttachShader(program, fragmentShader);
    gl.glLinkProgram(program);
    GLint status = 0;
    gl.glGetProgramiv(program, GL_LINK_STATUS, &status);
    if (status != 0) {
        return program;
    }
    char infoLog[infoLogBufferSize];
    std::memset(infoLog, 0, sizeof infoLog);
    gl.glGetProgramInfoLog(program, infoLogBufferSize - 1, nullptr, infoLog);
    writeLog("link %s failed: %s", programName, infoLog);
    return 0;
}

bool buildSurfacePrograms(ScreenSurface& surface) {
    // The fullscreen-triangle text is compiled once per program that uses it: no shader object
    // is shared between programs.
    surface.pointsProgram = buildProgram(pointsVertexSource, pointsFragmentSource, "points");
    surface.blurProgram = buildProgram(fullscreenVertexSource, blurFragmentSource, "blur");
    surface.compositeProgram = buildProgram(fullscreenVertexSource, compositeFragmentSource, "composite");
    surface.overlayProgram = buildProgram(overlayVertexSource, overlayFragmentSource, "ui");
    return surface.pointsProgram != 0 && surface.blurProgram != 0 && surface.compositeProgram != 0 &&
           surface.overlayProgram != 0;
}
