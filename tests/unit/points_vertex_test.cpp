// The "points" vertex stage as the saver links it, read back through transform feedback.

#include "common/offscreen_frame.h"
#include "gl/point_buffer.h"
#include "gl/point_timeline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <utility>
#include <vector>

namespace {

// gl_Position (0-3), gl_PointSize (4) and vCol (5-7), in recording order.
using CapturedPoint = std::array<float, 8>;

// Every vertex of the surface's points program with uT and uRes set, recorded with the rasteriser
// off into the bound feedback buffer. It starts with size -1 (never written, sizes are clamped to
// [1, 64]) in every record; if one is left the capture is empty, so a capture that recorded nothing
// cannot read as darkness.
std::vector<CapturedPoint> capture(const OffscreenFrame& frame, double saverTime, int width, int height) {
    const GlRenderer& renderer = frame.renderer;
    const GlFunctions& gl = renderer.gl;
    wglMakeCurrent(frame.surface.dc, renderer.context);
    std::vector<CapturedPoint> points(scenePointCount, CapturedPoint{0, 0, 0, 0, -1});
    const auto bytes = static_cast<std::ptrdiff_t>(points.size() * sizeof(CapturedPoint));
    gl.glBufferData(GL_TRANSFORM_FEEDBACK_BUFFER, bytes, points.data(), 0x88EA); // GL_DYNAMIC_COPY
    const PointsProgram& program = renderer.programs.points;
    gl.glUseProgram(program.program);
    setPointUniforms(gl, program, pointTimeline(saverTime), programTime(saverTime), width, height);
    glEnable(GL_RASTERIZER_DISCARD);
    gl.glBeginTransformFeedback(GL_POINTS);
    drawPoints(renderer, allPointRanges());
    gl.glEndTransformFeedback();
    glDisable(GL_RASTERIZER_DISCARD);
    gl.glGetBufferSubData(GL_TRANSFORM_FEEDBACK_BUFFER, 0, bytes, points.data());
    const bool complete = std::none_of(points.begin(), points.end(), [](auto& p) { return p[4] < 0.0f; });
    return complete ? points : std::vector<CapturedPoint>();
}

class PointsVertexStage : public ::testing::Test {
  protected:
    // The saver's own program, relinked: transform feedback takes the outputs named before a link.
    // One feedback buffer per frame serves every capture; the context takes it along. The second
    // frame has the build that generates the model per vertex, as after a failed bake.
    static bool openForCapture(OffscreenFrame& target, bool generated) {
        const char* const outputs[] = {"gl_Position", "gl_PointSize", "vCol"};
        GLint linked = 0;
        if (openOffscreenFrame(target, 64, 64, Pictures()) &&
            (!generated || generateModelPerVertex(target.renderer))) {
            const GlFunctions& gl = target.renderer.gl;
            const GLuint program = target.renderer.programs.points.program;
            gl.glTransformFeedbackVaryings(program, 3, outputs, GL_INTERLEAVED_ATTRIBS);
            gl.glLinkProgram(program);
            gl.glGetProgramiv(program, GL_LINK_STATUS, &linked);
            lookUpProgramUniforms(gl, target.renderer.programs);
            GLuint buffer = 0;
            gl.glGenBuffers(1, &buffer);
            gl.glBindBufferBase(GL_TRANSFORM_FEEDBACK_BUFFER, 0, buffer);
        }
        return linked != 0;
    }
    static void SetUpTestSuite() {
        ready = openForCapture(generatedFrame, true) && openForCapture(frame, false);
    }
    static void TearDownTestSuite() {
        closeOffscreenFrame(frame);
        closeOffscreenFrame(generatedFrame);
    }
    void SetUp() override { ASSERT_TRUE(ready); }

    static inline OffscreenFrame frame, generatedFrame;
    static inline bool ready = false;
};

// Pinned vertices, per target (uT, width, height): vertex number, gl_Position, gl_PointSize, vCol.
// Most on the 810 x 1440 target of a portrait monitor, where aspect and height scale both differ
// from 16:9. Expected: a double-precision model of the stage written from the design (hash, camera,
// timeline, generators, projection) at the single-precision time, for tooth and jaw points
// re-projected from its 1920 x 1080 values by aspect and height scale; positions to 1e-4 of w,
// colours to 1e-3.
TEST_F(PointsVertexStage, PinnedVerticesMatchTheModel) {
    const std::pair<std::array<float, 3>, std::vector<std::array<float, 9>>> frames[] = {
        {{5, 810, 1440},
         {// tooth 0, revealed; maxilla (unrevealed: 3.5 % of the bone colour); ring; detector corner
          {0, -11.340369, -0.087884, 9.830559, 19.661119, 3.133752, 0.737273, 0.636923, 0.415744},
          {142800, 1.017384, 9.287613, 10.404828, 20.809656, 2.389937, 0.002731, 0.003885, 0.005949},
          {172800, 26.720452, 14.442598, 10.579191, 21.158382, 2.843085, 1.257834, 1.032748, 0.595816},
          {179800, -24.888486, -6.027169, 11.038862, 22.077724, 2.964621, 0.726037, 0.631336, 0.434044},
          // the first beam particle; the outer floor ring's last dot
          {182400, -10.163031, -6.053179, 10.183216, 20.366432, 2.409280, 0.161807, 0.132682, 0.077667},
          {212499, 20.710526, -20.363771, 8.676873, 17.353746, 4.165245, 0.006918, 0.005860, 0.004070}}},
        // the next cycle starts with the faint unrevealed tooth
        {{22, 810, 1440},
         {{0, -11.504174, 3.344529, 11.073249, 22.146498, 3.009161, 0.006677, 0.006209, 0.005341}}},
        // a mote near the eye is clamped to 64 pixels (65.6 computed), one nearer than 0.3 is parked
        {{21.85, 7680, 4320},
         {{214901, -2.808117, -2.684343, 0.195367, 0.390733, 64, 0.007990, 0.006729, 0.004626},
          {212933, 3, 3, 3, 1, 1, 0, 0, 0}}},
        // black before the fade-in; a far floor dot is raised to 1 pixel (0.38 computed)
        {{0, 480, 270}, {{204400, -0.290164, -13.857947, 11.062915, 22.125831, 1, 0, 0, 0}}},
    };
    for (const auto& [target, vertices] : frames) {
        const std::vector<CapturedPoint> points =
            capture(frame, target[0], static_cast<int>(target[1]), static_cast<int>(target[2]));
        ASSERT_EQ(points.size(), static_cast<std::size_t>(scenePointCount));
        for (const auto& expected : vertices) {
            for (int value = 0; value < 8; ++value) {
                const float limit =
                    value < 4 ? 1e-4f * expected[4] : (value == 4 ? 1e-4f : 1e-3f * expected[value + 1]);
                EXPECT_NEAR(points[static_cast<int>(expected[0])][value], expected[value + 1], limit)
                    << "vertex " << expected[0] << " at " << target[0] << " s, value " << value;
            }
        }
    }
}

// A frame leaves out only ranges that are dark, and draws none past its vertex array's end: at times
// on both sides of every fade edge the program lights no vertex outside litPointRanges, also a long
// run later in single precision.
TEST_F(PointsVertexStage, RangesLeftOutOfAFrameAreDark) {
    int leftOut = 0;
    for (float edge : {1.0f, 8.6f, 10.2f, 21.8f, 22.0f}) {
        for (float t : {edge - 0.004f, edge + 0.004f, 31416.0f + edge - 0.004f, 31416.0f + edge + 0.004f}) {
            const std::vector<CapturedPoint> points = capture(frame, t, 64, 64);
            ASSERT_EQ(points.size(), static_cast<std::size_t>(scenePointCount));
            std::vector<bool> drawn(scenePointCount);
            const PointRanges lit = litPointRanges(pointTimeline(t));
            for (const PointRange& range : std::span(lit.ranges, lit.count)) {
                // The model's vertex array holds the model's points only.
                EXPECT_LE(range.first + range.count,
                          range.first < modelPointCount ? modelPointCount : scenePointCount);
                std::fill_n(drawn.begin() + range.first, range.count, true);
            }
            for (int id = 0; id < scenePointCount; ++id) {
                leftOut += drawn[id] ? 0 : 1;
                ASSERT_TRUE(drawn[id] || points[id][5] + points[id][6] + points[id][7] == 0.0f)
                    << id << " at " << t;
            }
        }
    }
    EXPECT_GT(leftOut, 0);
}

// Where the bake failed, the model is generated per vertex: every vertex as the baked program has
// it, through the scan, the slice and the dissolve.
TEST_F(PointsVertexStage, TheModelGeneratedPerVertexIsTheBakedOne) {
    for (double t : {5.0, 13.0, 20.0}) {
        const std::vector<CapturedPoint> baked = capture(frame, t, 960, 540);
        const std::vector<CapturedPoint> generated = capture(generatedFrame, t, 960, 540);
        ASSERT_EQ(baked.size(), static_cast<std::size_t>(scenePointCount));
        ASSERT_EQ(generated.size(), baked.size());
        for (int id = 0; id < scenePointCount; ++id) {
            for (int value = 0; value < 8; ++value) {
                const float limit = 1e-4f * (1.0f + std::fabs(baked[id][value]));
                ASSERT_NEAR(generated[id][value], baked[id][value], limit)
                    << "vertex " << id << " at " << t << " s";
            }
        }
    }
}

} // namespace
