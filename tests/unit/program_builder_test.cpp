// Program building on the saver's real GL 3.3 core context: the log lines of each failure, what is
// and is not attempted after one, the info-log buffer, and the window's set of four programs.

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
const char* const mismatchedFragment =
    "#version 330 core\nin vec4 vTint;\nout vec4 oCol;\nvoid main() { oCol = vTint; }\n";
const char* const mainlessFragment =
    "#version 330 core\nout vec4 oCol;\nvoid shade() { oCol = vec4(1.0); }\n";

// What the driver says about a source or a pair, asked independently of the code under test.
GLuint compiled(GLenum stage, const char* source) {
    const GLuint shader = gl.glCreateShader(stage);
    gl.glShaderSource(shader, 1, &source, nullptr);
    gl.glCompileShader(shader);
    return shader;
}

std::string driverCompileLog(GLenum stage, const char* source) {
    char log[4096] = {};
    gl.glGetShaderInfoLog(compiled(stage, source), sizeof log - 1, nullptr, log);
    return log;
}

std::string driverLinkLog(const char* vertexSource, const char* fragmentSource) {
    const GLuint program = gl.glCreateProgram();
    gl.glAttachShader(program, compiled(GL_VERTEX_SHADER, vertexSource));
    gl.glAttachShader(program, compiled(GL_FRAGMENT_SHADER, fragmentSource));
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
    int createShaderCalls = 0;
    int failingShaderOrdinal = -1; // 1-based creation order of the shader made to fail; 0: every one
    std::vector<GLuint> failingShaders;
    std::vector<GLsizei> infoLogCapacities;
    std::vector<bool> infoLogBufferWasZero;
    std::vector<int> fakeLogLengths; // characters the fake info-log queries write, call by call
};
Spy spy;

void WINAPI countingLinkProgram(GLuint program) {
    ++spy.linkCalls;
    spy.real.glLinkProgram(program);
}

GLuint WINAPI countingCreateShader(GLenum stage) {
    const GLuint shader = spy.real.glCreateShader(stage);
    ++spy.createShaderCalls;
    if (spy.failingShaderOrdinal == 0 || spy.createShaderCalls == spy.failingShaderOrdinal) {
        spy.failingShaders.push_back(shader);
    }
    return shader;
}

void WINAPI failChosenShaders(GLuint shader, GLenum name, GLint* value) {
    spy.real.glGetShaderiv(shader, name, value);
    if (name == GL_COMPILE_STATUS &&
        std::count(spy.failingShaders.begin(), spy.failingShaders.end(), shader)) {
        *value = 0;
    }
}

void WINAPI failEveryShader(GLuint shader, GLenum name, GLint* value) {
    spy.real.glGetShaderiv(shader, name, value);
    *value = name == GL_COMPILE_STATUS ? 0 : *value;
}

// A driver that answers the status query without writing anything.
void WINAPI silentStatus(GLuint, GLenum, GLint*) {}

// Writes fakeLogLengths[call] letters (x, then y, ...) but never more than the capacity, and no
// terminator: the caller's buffer must provide it. Also records what the caller handed over.
void WINAPI fakeInfoLog(GLuint, GLsizei capacity, GLsizei* length, GLchar* log) {
    const std::size_t call = spy.infoLogCapacities.size();
    spy.infoLogCapacities.push_back(capacity);
    spy.infoLogBufferWasZero.push_back(std::all_of(log, log + capacity + 1, [](char c) { return c == 0; }));
    const int wanted = call < spy.fakeLogLengths.size() ? spy.fakeLogLengths[call] : 0;
    const int written = std::min(wanted, static_cast<int>(capacity));
    std::memset(log, 'x' + static_cast<int>(call), static_cast<std::size_t>(written));
    if (length != nullptr) {
        *length = written;
    }
}

class ProgramBuilder : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_TRUE(openGlTestSurface(surface, 64, 64)); }
    static void TearDownTestSuite() { closeSurfaceWindow(surface); }

    void SetUp() override {
        ASSERT_NE(surface.glContext, nullptr);
        logPath = redirectTempDirectory();
        spy = Spy();
        spy.real = gl;
        gl.glLinkProgram = countingLinkProgram;
        gl.glCreateShader = countingCreateShader;
    }

    void TearDown() override {
        gl = spy.real;
        wglCalls = systemWglCalls();
        // A set-up under test may have made another context current or none.
        wglMakeCurrent(surface.dc, surface.glContext);
    }

    // The log file's text with its CR LF line ends turned into LF; then a fresh log.
    std::string takeLog() {
        std::string text = readLogFile(logPath);
        text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
        logPath = redirectTempDirectory();
        return text;
    }

    static inline ScreenSurface surface;
    std::wstring logPath;
};

// A compile failure logs one line per failing stage, vertex first (so both stages are always
// compiled), and nothing is linked; a link failure logs one link line.
TEST_F(ProgramBuilder, EachFailureLogsItsOwnLines) {
    const std::string vertexLog = driverCompileLog(GL_VERTEX_SHADER, brokenVertex);
    const std::string fragmentLog = driverCompileLog(GL_FRAGMENT_SHADER, brokenFragment);
    ASSERT_NE(vertexLog.find("vertexStageTypo"), std::string::npos);
    ASSERT_NE(fragmentLog.find("fragmentStageTypo"), std::string::npos);
    struct Case {
        const char *vertex, *fragment, *name;
        std::string log;
        int links;
    };
    const Case cases[] = {
        {brokenVertex, goodFragment, "blur", "shader blur failed: " + vertexLog + "\n", 0},
        {goodVertex, brokenFragment, "composite", "shader composite failed: " + fragmentLog + "\n", 0},
        {brokenVertex, brokenFragment, "ui",
         "shader ui failed: " + vertexLog + "\nshader ui failed: " + fragmentLog + "\n", 0},
        {goodVertex, mismatchedFragment, "points",
         "link points failed: " + driverLinkLog(goodVertex, mismatchedFragment) + "\n", 1},
        {goodVertex, mainlessFragment, "points",
         "link points failed: " + driverLinkLog(goodVertex, mainlessFragment) + "\n", 1},
    };
    for (const Case& failure : cases) {
        spy.linkCalls = 0;
        EXPECT_EQ(buildProgram(failure.vertex, failure.fragment, failure.name), 0u);
        EXPECT_EQ(takeLog(), failure.log);
        EXPECT_EQ(spy.linkCalls, failure.links) << failure.name;
    }
}

// Each query gets 4095 characters of a zeroed buffer: 5000 letters offered are cut to 4095, and a
// second stage's 3 letters show alone, so the buffer was zeroed again in between. An empty info
// log leaves the line ending in ": ".
TEST_F(ProgramBuilder, InfoLogIsCutAt4095CharactersAndTerminated) {
    gl.glGetShaderInfoLog = fakeInfoLog;
    gl.glGetProgramInfoLog = fakeInfoLog;
    struct Case {
        const char *vertex, *fragment;
        std::vector<int> offered;
        std::string log;
    };
    const Case cases[] = {
        {brokenVertex,
         brokenFragment,
         {5000, 3},
         "shader probe failed: " + std::string(4095, 'x') + "\nshader probe failed: yyy\n"},
        {goodVertex, mainlessFragment, {5000}, "link probe failed: " + std::string(4095, 'x') + "\n"},
        {brokenVertex, goodFragment, {}, "shader probe failed: \n"},
        {goodVertex, mismatchedFragment, {}, "link probe failed: \n"},
    };
    for (const Case& failure : cases) {
        spy.infoLogCapacities.clear();
        spy.infoLogBufferWasZero.clear();
        spy.fakeLogLengths = failure.offered;
        EXPECT_EQ(buildProgram(failure.vertex, failure.fragment, "probe"), 0u);
        const std::string text = takeLog();
        EXPECT_TRUE(text == failure.log) << "log of " << text.size() << " characters, " << failure.log.size();
        const std::size_t queries = std::max<std::size_t>(1, failure.offered.size());
        EXPECT_EQ(spy.infoLogCapacities, std::vector<GLsizei>(queries, 4095));
        EXPECT_EQ(spy.infoLogBufferWasZero, std::vector<bool>(queries, true));
    }
}

// The status is set to 0 before each query, so a driver that writes nothing means failure.
TEST_F(ProgramBuilder, StatusLeftUnwrittenCountsAsFailure) {
    gl.glGetShaderiv = silentStatus;
    EXPECT_EQ(buildProgram(goodVertex, goodFragment, "probe"), 0u);
    EXPECT_EQ(countOf(takeLog(), "shader probe failed: "), 2);
    EXPECT_EQ(spy.linkCalls, 0);

    gl.glGetShaderiv = spy.real.glGetShaderiv;
    gl.glGetProgramiv = silentStatus;
    EXPECT_EQ(buildProgram(goodVertex, goodFragment, "probe"), 0u);
    EXPECT_EQ(countOf(takeLog(), "link probe failed: "), 1);
}

TEST_F(ProgramBuilder, SurfaceProgramsAllBuildWithoutALogLine) {
    ScreenSurface programs;
    ASSERT_TRUE(buildSurfacePrograms(programs));
    const std::vector<GLuint> names = {programs.pointsProgram, programs.blurProgram,
                                       programs.compositeProgram, programs.overlayProgram};
    for (GLuint name : names) {
        GLint linked = 0;
        GLint attached = 0;
        gl.glGetProgramiv(name, GL_LINK_STATUS, &linked);
        gl.glGetProgramiv(name, attachedShaders, &attached);
        EXPECT_NE(linked, 0);
        EXPECT_EQ(attached, 2); // neither detached nor deleted
        EXPECT_EQ(std::count(names.begin(), names.end(), name), 1);
    }
    EXPECT_EQ(spy.linkCalls, 4);
    EXPECT_EQ(spy.createShaderCalls, 8); // the fullscreen triangle is compiled for each of its programs
    EXPECT_EQ(takeLog(), "");
    // Each field holds the program made from its own sources: probe one uniform only it declares.
    EXPECT_GE(gl.glGetUniformLocation(programs.pointsProgram, "uT"), 0);
    EXPECT_EQ(gl.glGetUniformLocation(programs.pointsProgram, "uDir"), -1);
    EXPECT_GE(gl.glGetUniformLocation(programs.blurProgram, "uDir"), 0);
    EXPECT_GE(gl.glGetUniformLocation(programs.compositeProgram, "uBloom"), 0);
    EXPECT_GE(gl.glGetUniformLocation(programs.overlayProgram, "uRect"), 0);
}

// Every program is attempted, in order, whatever failed before it: with every compile failing
// the log names each program twice; with only blur's vertex stage (the third shader created)
// failing, the other three are still linked.
TEST_F(ProgramBuilder, SurfaceProgramsAreAllAttemptedInOrderAfterFailures) {
    gl.glGetShaderiv = failChosenShaders;
    spy.failingShaderOrdinal = 0;
    ScreenSurface failing;
    EXPECT_FALSE(buildSurfacePrograms(failing));
    const std::string text = takeLog();
    std::vector<std::string> names;
    for (std::size_t at = text.find("shader "); at != std::string::npos; at = text.find("shader ", at + 1)) {
        names.push_back(text.substr(at + 7, text.find(' ', at + 7) - at - 7));
    }
    const std::vector<std::string> expected = {"points",    "points",    "blur", "blur",
                                               "composite", "composite", "ui",   "ui"};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(spy.linkCalls, 0);
    EXPECT_EQ(failing.pointsProgram, 0u);
    EXPECT_EQ(failing.overlayProgram, 0u);

    const GlFunctionTable real = spy.real;
    spy = Spy();
    spy.real = real;
    spy.failingShaderOrdinal = 3;
    ScreenSurface blurFailing;
    EXPECT_FALSE(buildSurfacePrograms(blurFailing));
    EXPECT_EQ(blurFailing.blurProgram, 0u);
    EXPECT_NE(blurFailing.pointsProgram, 0u);
    EXPECT_NE(blurFailing.compositeProgram, 0u);
    EXPECT_NE(blurFailing.overlayProgram, 0u);
    EXPECT_EQ(spy.linkCalls, 3);
    const std::string blurLog = takeLog();
    EXPECT_EQ(blurLog.rfind("shader blur failed: ", 0), 0u) << blurLog;
    EXPECT_EQ(countOf(blurLog, " failed: "), 1) << blurLog;
}

// The window set-up builds the programs right after the context; a failed build sends the window
// to the software path with its context released.
PROC WINAPI lookupWithFailingCompiles(LPCSTR name) {
    if (std::strcmp(name, "glGetShaderiv") == 0) {
        return reinterpret_cast<PROC>(reinterpret_cast<void (*)()>(failEveryShader));
    }
    return wglGetProcAddress(name);
}

TEST_F(ProgramBuilder, WindowSetUpUsesTheProgramsAndFallsBackWhenOneFails) {
    for (bool compilesFail : {false, true}) {
        if (compilesFail) {
            wglCalls.getProcAddress = lookupWithFailingCompiles;
        }
        ScreenSurface window;
        window.width = 64;
        window.height = 64;
        window.window = createSaverClassWindow(64, 64);
        initSurface(window);
        EXPECT_EQ(window.useGl, !compilesFail);
        EXPECT_EQ(window.glContext != nullptr, !compilesFail);
        EXPECT_EQ(window.pointsProgram != 0 && window.overlayProgram != 0, !compilesFail);
        EXPECT_EQ(countOf(takeLog(), "shader "), compilesFail ? 8 : 0);
        closeSurfaceWindow(window);
    }
}

} // namespace
