// Program building on the saver's real GL 3.3 core context: the log lines of each failure, the
// info-log buffer, and the window's programs.

#include "gl/gl_programs.h"
#include "gl/program_builder.h"
#include "support/test_windows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <regex>
#include <string>

namespace {

const char* const goodVertex = "#version 330 core\nout vec3 vTint;\nvoid main() { vTint = vec3(1.0); "
                               "gl_Position = vec4(0.0, 0.0, 0.0, 1.0); }\n";
const char* const brokenVertex = "#version 330 core\nvoid main() { gl_Position = vertexStageTypo; }\n";
const char* const brokenFragment =
    "#version 330 core\nout vec4 oCol;\nvoid main() { oCol = fragmentStageTypo; }\n";
// Both compile; only the linker sees that the stages disagree.
const char* const mismatchedFragment =
    "#version 330 core\nin vec4 vTint;\nout vec4 oCol;\nvoid main() { oCol = vTint; }\n";

// A driver that writes as much of its message as it is offered (5000 letters on the first query,
// 3 on the second, x then y), and no terminator.
int infoLogQueries = 0; // one test makes queries
void WINAPI fakeInfoLog(GLuint, GLsizei capacity, GLsizei*, GLchar* log) {
    const int written = std::min(infoLogQueries == 0 ? 5000 : 3, static_cast<int>(capacity));
    std::memset(log, 'x' + infoLogQueries++, static_cast<size_t>(written));
}
void WINAPI statusLeftUnwritten(GLuint, GLenum, GLint*) {}

class ProgramBuilder : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_TRUE(openGlTestContext(frame, 64, 64)); }
    static void TearDownTestSuite() { closeOffscreenFrame(frame); }
    void SetUp() override { gl = frame.renderer.gl; }
    // Builds one program into a fresh log; returns the log with LF line ends.
    static std::string failedBuildLog(const char* vertex, const char* fragment) {
        const std::wstring path = redirectTempDirectory();
        EXPECT_EQ(buildProgram(gl, vertex, fragment, "probe"), 0u);
        std::string text = readLogFile(path);
        std::erase(text, '\r');
        return text;
    }
    static inline OffscreenFrame frame;
    static inline GlFunctions gl; // the context's own, or one with entries replaced
};

// One line per failing step with the driver's message: the fragment stage is compiled even after
// the vertex stage failed, and a program whose stages failed is not linked.
TEST_F(ProgramBuilder, EachFailingStepLogsOneLineWithTheDriversMessage) {
    const std::string message = "((?!failed: )[\\s\\S])*"; // anything but the start of another line
    const std::string cases[][3] = {
        {brokenVertex, brokenFragment,
         "shader probe failed: " + message + "vertexStageTypo" + message + "shader probe failed: " + message +
             "fragmentStageTypo" + message},
        {goodVertex, brokenFragment, "shader probe failed: " + message + "fragmentStageTypo" + message},
        {goodVertex, mismatchedFragment, "link probe failed: " + message + "vTint" + message},
    };
    for (const auto& [vertex, fragment, pattern] : cases) {
        const std::string log = failedBuildLog(vertex.c_str(), fragment.c_str());
        EXPECT_TRUE(std::regex_match(log, std::regex(pattern))) << log;
    }
}

// A 4096-character buffer, zeroed for each query and offered one character short: a long message
// is cut to 4095 and terminated, and a second, shorter one shows alone. Link logs share the code.
TEST_F(ProgramBuilder, InfoLogsAreCutTo4095CharactersAndTerminated) {
    gl.glGetShaderInfoLog = fakeInfoLog;
    gl.glGetProgramInfoLog = fakeInfoLog;
    const std::string cut(4095, 'x');
    EXPECT_TRUE(failedBuildLog(brokenVertex, brokenFragment) ==
                "shader probe failed: " + cut + "\nshader probe failed: yyy\n");
}

// A status the driver leaves unwritten is a failure; the window's programs are all attempted,
// in order, each under its own name, whatever failed before.
TEST_F(ProgramBuilder, UnwrittenStatusFailsAndEveryProgramIsAttempted) {
    gl.glGetShaderiv = statusLeftUnwritten;
    EXPECT_EQ(failedBuildLog(goodVertex, mismatchedFragment),
              "shader probe failed: \nshader probe failed: \n");
    gl = frame.renderer.gl;
    gl.glGetProgramiv = statusLeftUnwritten;
    const std::wstring path = redirectTempDirectory();
    GlPrograms programs;
    EXPECT_FALSE(buildGlPrograms(gl, programs));
    EXPECT_EQ(readLogFile(path), "link points failed: \r\nlink blur failed: \r\nlink composite failed: \r\n"
                                 "link ui failed: \r\nlink bake failed: \r\n");
}

} // namespace
