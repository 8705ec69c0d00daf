// Program building on the saver's real GL 3.3 core context (Mesa llvmpipe under Wine): the log
// lines of each failure, what is and is not attempted after one, the info-log buffer, and the
// window's set of four programs.

#include "gl/gl_context.h"
#include "gl/gl_functions.h"
#include "gl/program_builder.h"
#include "gl/surface_setup.h"
#include "gl/wgl_calls.h"
#include "support/test_windows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr GLenum attachedShaders = 0x8B85; // GL_ATTACHED_SHADERS

const char* const goodVertex = "#version 330 core\nout vec3 vTint;\nvoid main() { vTint = vec3(1.0); "
                               "gl_Position = vec4(0.0, 0.0, 0.0, 1.0); }\n";
const char* const goodFragment = "#version 330 core\nout vec4 oCol;\nvoid main() { oCol = vec4(1.0); }\n";
const char* const brokenVertex = "#version 330 core\nvoid main() { gl_Position = vertexStageTypo; }\n";
const char* const brokenFragment =
    "#version 330 core\nout vec4 oCol;\nvoid main() { oCol = fragmentStageTypo; }\n";
// Both compile; only the linker sees the fault.
const char* const mismatchedInputFragment =
    "#version 330 core\nin vec4 vTint;\nout vec4 oCol;\nvoid main() { oCol = vTint; }\n";
const char* const mainlessFragment =
    "#version 330 core\nout vec4 oCol;\nvoid shade() { oCol = vec4(1.0); }\n";

// What the driver says about a source, asked independently of the code under test.
std::string driverCompileLog(GLenum stage, const char* source) {
    const GLuint shader = gl.glCreateShader(stage);
    gl.glShaderSource(shader, 1, &source, nullptr);
    gl.glCompileShader(shader);
    char log[4096] = {};
    gl.glGetShaderInfoLog(shader, sizeof log - 1, nullptr, log);
    return log;
}

std::string driverLinkLog(const char* vertexSource, const char* fragmentSource) {
    const GLuint program = gl.glCreateProgram();
    for (const auto& [stage, source] :
         {std::pair{GL_VERTEX_SHADER, vertexSource}, {GL_FRAGMENT_SHADER, fragmentSource}}) {
        const GLuint shader = gl.glCreateShader(stage);
        gl.glShaderSource(shader, 1, &source, nullptr);
        gl.glCompileShader(shader);
        gl.glAttachShader(program, shader);
    }
    gl.glLinkProgram(program);
    char log[4096] = {};
    gl.glGetProgramInfoLog(program, sizeof log - 1, nullptr, log);
    return log;
}

int countOf(const std::string& text, const std::string& part) {
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

// Counting and faking wrappers around the real entry points; the fixture restores the table.
struct Spy {
    GlFunctionTable real = {};
    int linkCalls = 0;
    int compileCalls = 0;
    int createShaderCalls = 0;
    int failingShaderOrdinal = 0; // 1-based creation order of the shader whose compile is made to fail
    GLuint failingShader = 0;
    int infoLogCalls = 0;
    std::vector<GLsizei> infoLogCapacities;
    std::vector<bool> infoLogBufferWasZero;
    std::vector<int> fakeLogLengths; // characters the fake info-log queries write, call by call
};
Spy spy;

void WINAPI countingLinkProgram(GLuint program) {
    ++spy.linkCalls;
    spy.real.glLinkProgram(program);
}

void WINAPI countingCompileShader(GLuint shader) {
    ++spy.compileCalls;
    spy.real.glCompileShader(shader);
}

GLuint WINAPI countingCreateShader(GLenum stage) {
    const GLuint shader = spy.real.glCreateShader(stage);
    if (++spy.createShaderCalls == spy.failingShaderOrdinal) {
        spy.failingShader = shader;
    }
    return shader;
}

void WINAPI failChosenShader(GLuint shader, GLenum name, GLint* value) {
    spy.real.glGetShaderiv(shader, name, value);
    if (name == GL_COMPILE_STATUS && shader == spy.failingShader) {
        *value = 0;
    }
}

void WINAPI failEveryShader(GLuint shader, GLenum name, GLint* value) {
    spy.real.glGetShaderiv(shader, name, value);
    if (name == GL_COMPILE_STATUS) {
        *value = 0;
    }
}

// A driver that answers the status query without writing anything.
void WINAPI silentShaderStatus(GLuint, GLenum, GLint*) {}
void WINAPI silentProgramStatus(GLuint, GLenum, GLint*) {}

// Writes fakeLogLengths[call] letters (x, then y, ...) but never more than the capacity, and no
// terminator: the caller's buffer must provide it. Also records what the caller handed over.
void fakeInfoLog(GLsizei capacity, GLsizei* length, GLchar* log) {
    const int call = spy.infoLogCalls++;
    spy.infoLogCapacities.push_back(capacity);
    bool zero = true;
    for (GLsizei index = 0; index <= capacity; ++index) {
        zero = zero && log[index] == 0;
    }
    spy.infoLogBufferWasZero.push_back(zero);
    const int wanted = call < static_cast<int>(spy.fakeLogLengths.size()) ? spy.fakeLogLengths[call] : 0;
    const int written = std::min(wanted, static_cast<int>(capacity));
    std::memset(log, 'x' + call, static_cast<std::size_t>(written));
    if (length != nullptr) {
        *length = written;
    }
}
void WINAPI fakeShaderInfoLog(GLuint, GLsizei capacity, GLsizei* length, GLchar* log) {
    fakeInfoLog(capacity, length, log);
}
void WINAPI fakeProgramInfoLog(GLuint, GLsizei capacity, GLsizei* length, GLchar* log) {
    fakeInfoLog(capacity, length, log);
}

class ProgramBuilder : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_TRUE(openGlTestSurface(surface, 64, 64)); }
    static void TearDownTestSuite() { closeTestSurface(surface); }

    void SetUp() override {
        ASSERT_NE(surface.glContext, nullptr);
        logPath = redirectTempDirectory();
        spy = Spy();
        spy.real = gl;
        gl.glLinkProgram = countingLinkProgram;
        gl.glCompileShader = countingCompileShader;
        gl.glCreateShader = countingCreateShader;
    }

    void TearDown() override {
        gl = spy.real;
        wglCalls = systemWglCalls();
        // A set-up under test may have made another context current or none.
        wglMakeCurrent(surface.dc, surface.glContext);
    }

    // The log is a Windows text file: its lines end in CR LF on disk.
    std::string log() const {
        std::string text = readLogFile(logPath);
        for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) {
            text.erase(at, 1);
        }
        return text;
    }

    static ScreenSurface surface;
    std::wstring logPath;
};

ScreenSurface ProgramBuilder::surface;

TEST_F(ProgramBuilder, WorkingSourcesGiveALinkedProgramAndNoLog) {
    const GLuint program = buildProgram(goodVertex, goodFragment, "probe");
    ASSERT_NE(program, 0u);
    GLint linked = 0;
    GLint attached = 0;
    gl.glGetProgramiv(program, GL_LINK_STATUS, &linked);
    gl.glGetProgramiv(program, attachedShaders, &attached);
    EXPECT_NE(linked, 0);
    EXPECT_EQ(attached, 2); // neither detached nor deleted
    EXPECT_EQ(spy.compileCalls, 2);
    EXPECT_EQ(spy.linkCalls, 1);
    EXPECT_EQ(log(), "");
}

TEST_F(ProgramBuilder, CompileFailuresLogOneLinePerStageAndNeverLink) {
    const std::string vertexLog = driverCompileLog(GL_VERTEX_SHADER, brokenVertex);
    const std::string fragmentLog = driverCompileLog(GL_FRAGMENT_SHADER, brokenFragment);
    ASSERT_NE(vertexLog.find("vertexStageTypo"), std::string::npos);
    ASSERT_NE(fragmentLog.find("fragmentStageTypo"), std::string::npos);

    // A vertex failure: one line, the fragment stage is still compiled, no link.
    spy.compileCalls = 0;
    spy.linkCalls = 0;
    EXPECT_EQ(buildProgram(brokenVertex, goodFragment, "blur"), 0u);
    EXPECT_EQ(log(), "shader blur failed: " + vertexLog + "\n");
    EXPECT_EQ(spy.compileCalls, 2);
    EXPECT_EQ(spy.linkCalls, 0);

    // A fragment failure alone.
    logPath = redirectTempDirectory();
    EXPECT_EQ(buildProgram(goodVertex, brokenFragment, "composite"), 0u);
    EXPECT_EQ(log(), "shader composite failed: " + fragmentLog + "\n");
    EXPECT_EQ(spy.linkCalls, 0);

    // Both: two lines, the vertex stage's first.
    logPath = redirectTempDirectory();
    EXPECT_EQ(buildProgram(brokenVertex, brokenFragment, "ui"), 0u);
    EXPECT_EQ(log(), "shader ui failed: " + vertexLog + "\nshader ui failed: " + fragmentLog + "\n");
    EXPECT_EQ(spy.linkCalls, 0);
}

TEST_F(ProgramBuilder, LinkFailuresLogOneLinkLineAndNoShaderLine) {
    for (const char* fragment : {mismatchedInputFragment, mainlessFragment}) {
        const std::string linkLog = driverLinkLog(goodVertex, fragment);
        ASSERT_FALSE(linkLog.empty());
        logPath = redirectTempDirectory();
        spy.linkCalls = 0;
        EXPECT_EQ(buildProgram(goodVertex, fragment, "points"), 0u);
        EXPECT_EQ(spy.linkCalls, 1);
        EXPECT_EQ(log(), "link points failed: " + linkLog + "\n");
        EXPECT_EQ(countOf(log(), "shader points failed"), 0);
    }
}

TEST_F(ProgramBuilder, InfoLogIsCutAt4095CharactersAndTerminated) {
    gl.glGetShaderInfoLog = fakeShaderInfoLog;
    gl.glGetProgramInfoLog = fakeProgramInfoLog;
    // Two failing stages: 5000 letters offered to the first query, 3 to the second. The second
    // line shows only its own 3 letters, so the buffer was zeroed again in between.
    spy.fakeLogLengths = {5000, 3};
    EXPECT_EQ(buildProgram(brokenVertex, brokenFragment, "probe"), 0u);
    const std::string twoLines =
        "shader probe failed: " + std::string(4095, 'x') + "\nshader probe failed: yyy\n";
    EXPECT_TRUE(log() == twoLines) << "log of " << log().size() << " characters, " << twoLines.size()
                                   << " expected";
    ASSERT_EQ(spy.infoLogCapacities.size(), 2u);
    EXPECT_EQ(spy.infoLogCapacities[0], 4095);
    EXPECT_EQ(spy.infoLogCapacities[1], 4095);
    EXPECT_TRUE(spy.infoLogBufferWasZero[0]);
    EXPECT_TRUE(spy.infoLogBufferWasZero[1]);

    // The program log is bounded the same way.
    logPath = redirectTempDirectory();
    spy.infoLogCalls = 0;
    spy.infoLogCapacities.clear();
    spy.infoLogBufferWasZero.clear();
    spy.fakeLogLengths = {5000};
    EXPECT_EQ(buildProgram(goodVertex, mainlessFragment, "probe"), 0u);
    const std::string linkLine = "link probe failed: " + std::string(4095, 'x') + "\n";
    EXPECT_TRUE(log() == linkLine) << "log of " << log().size() << " characters, " << linkLine.size()
                                   << " expected";
    ASSERT_EQ(spy.infoLogCapacities.size(), 1u);
    EXPECT_EQ(spy.infoLogCapacities[0], 4095);
    EXPECT_TRUE(spy.infoLogBufferWasZero[0]);
}

TEST_F(ProgramBuilder, EmptyInfoLogLeavesTheLineEndingInColonSpace) {
    gl.glGetShaderInfoLog = fakeShaderInfoLog;
    gl.glGetProgramInfoLog = fakeProgramInfoLog;
    EXPECT_EQ(buildProgram(brokenVertex, goodFragment, "blur"), 0u);
    EXPECT_EQ(log(), "shader blur failed: \n");
    logPath = redirectTempDirectory();
    EXPECT_EQ(buildProgram(goodVertex, mismatchedInputFragment, "blur"), 0u);
    EXPECT_EQ(log(), "link blur failed: \n");
}

// The status is set to 0 before each query, so a driver that writes nothing means failure.
TEST_F(ProgramBuilder, StatusLeftUnwrittenCountsAsFailure) {
    gl.glGetShaderiv = silentShaderStatus;
    EXPECT_EQ(buildProgram(goodVertex, goodFragment, "probe"), 0u);
    EXPECT_EQ(countOf(log(), "shader probe failed: "), 2);
    EXPECT_EQ(spy.linkCalls, 0);

    gl.glGetShaderiv = spy.real.glGetShaderiv;
    gl.glGetProgramiv = silentProgramStatus;
    logPath = redirectTempDirectory();
    EXPECT_EQ(buildProgram(goodVertex, goodFragment, "probe"), 0u);
    EXPECT_EQ(countOf(log(), "link probe failed: "), 1);
}

TEST_F(ProgramBuilder, SurfaceProgramsAllBuildWithoutALogLine) {
    ScreenSurface programs;
    ASSERT_TRUE(buildSurfacePrograms(programs));
    const std::vector<GLuint> names = {programs.pointsProgram, programs.blurProgram,
                                       programs.compositeProgram, programs.overlayProgram};
    for (GLuint name : names) {
        EXPECT_NE(name, 0u);
        EXPECT_EQ(std::count(names.begin(), names.end(), name), 1);
    }
    EXPECT_EQ(spy.createShaderCalls, 8); // the fullscreen triangle is compiled for each of its programs
    EXPECT_EQ(log(), "");
    // Each field holds the program made from its own sources: probe one uniform only it declares.
    EXPECT_GE(gl.glGetUniformLocation(programs.pointsProgram, "uT"), 0);
    EXPECT_EQ(gl.glGetUniformLocation(programs.pointsProgram, "uDir"), -1);
    EXPECT_GE(gl.glGetUniformLocation(programs.blurProgram, "uDir"), 0);
    EXPECT_GE(gl.glGetUniformLocation(programs.compositeProgram, "uBloom"), 0);
    EXPECT_GE(gl.glGetUniformLocation(programs.overlayProgram, "uRect"), 0);
}

TEST_F(ProgramBuilder, SurfaceProgramsAreAllAttemptedInOrderAfterFailures) {
    gl.glGetShaderiv = failEveryShader;
    ScreenSurface programs;
    EXPECT_FALSE(buildSurfacePrograms(programs));
    const std::string text = log();
    std::vector<std::string> names;
    for (std::size_t at = text.find("shader "); at != std::string::npos; at = text.find("shader ", at + 1)) {
        names.push_back(text.substr(at + 7, text.find(' ', at + 7) - at - 7));
    }
    const std::vector<std::string> expected = {"points",    "points",    "blur", "blur",
                                               "composite", "composite", "ui",   "ui"};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(spy.linkCalls, 0);
    EXPECT_EQ(programs.pointsProgram, 0u);
    EXPECT_EQ(programs.overlayProgram, 0u);
}

// A vertex error in "blur" (the third shader created): one line, and the remaining programs are
// still built before the set reports failure.
TEST_F(ProgramBuilder, OneFailingProgramFailsTheSetAfterTheOthersAreBuilt) {
    spy.failingShaderOrdinal = 3;
    gl.glGetShaderiv = failChosenShader;
    ScreenSurface programs;
    EXPECT_FALSE(buildSurfacePrograms(programs));
    EXPECT_EQ(programs.blurProgram, 0u);
    EXPECT_NE(programs.pointsProgram, 0u);
    EXPECT_NE(programs.compositeProgram, 0u);
    EXPECT_NE(programs.overlayProgram, 0u);
    EXPECT_EQ(spy.linkCalls, 3);
    const std::string text = log();
    EXPECT_EQ(text.rfind("shader blur failed: ", 0), 0u) << text;
    EXPECT_EQ(countOf(text, " failed: "), 1) << text;
}

// The window set-up: programs are built right after the context, and a failed build sends the
// window to the software path with its context released.
PROC WINAPI lookupWithFailingCompiles(LPCSTR name) {
    if (std::strcmp(name, "glGetShaderiv") == 0) {
        return reinterpret_cast<PROC>(reinterpret_cast<void (*)()>(failEveryShader));
    }
    return wglGetProcAddress(name);
}

TEST_F(ProgramBuilder, WindowSetUpUsesTheProgramsAndFallsBackWhenOneFails) {
    ScreenSurface working;
    working.width = 64;
    working.height = 64;
    working.window = createTestWindow(64, 64);
    initSurface(working);
    EXPECT_TRUE(working.useGl);
    EXPECT_NE(working.glContext, nullptr);
    EXPECT_NE(working.pointsProgram, 0u);
    EXPECT_NE(working.overlayProgram, 0u);
    EXPECT_EQ(log(), "");
    closeTestSurface(working);

    wglCalls.getProcAddress = lookupWithFailingCompiles;
    ScreenSurface failing;
    failing.width = 64;
    failing.height = 64;
    failing.window = createTestWindow(64, 64);
    initSurface(failing);
    EXPECT_FALSE(failing.useGl);
    EXPECT_EQ(failing.glContext, nullptr);
    EXPECT_EQ(countOf(log(), "shader "), 8);
    closeTestSurface(failing);
}

} // namespace
