// The point pass rendered on its own into a 1920 x 1080 half-float target and read back, checked
// for properties of the whole picture. Expected values come from an independent double-precision
// model that projected every model point (vertices 0 to 172799) to its pixel, weighted by the light
// it adds: vCol x size^2 x pi/4 x (2 + e^-3)/9, the disc profile exp(-3 d2)(1 - d2) averaged.

#include "common/points_pass.h"
#include "gl/gl_functions.h"
#include "gl/program_builder.h"
#include "shaders/shader_sources.h"
#include "support/test_windows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

constexpr int targetWidth = 1920;
constexpr int targetHeight = 1080;
constexpr int modelPointCount = 172800; // teeth, mandible and maxilla come first

// Light (red + green + blue) of one picture, its light-weighted centre in pixels from the top left,
// and the share of it in rows below boundaryRow.
struct LightMeasure {
    double total = 0.0;
    double centreColumn = 0.0;
    double centreRow = 0.0;
    double shareBelow = 0.0;
};

LightMeasure measure(const std::vector<float>& rgba, double boundaryRow = targetHeight) {
    LightMeasure result;
    double below = 0.0;
    for (int row = 0; row < targetHeight; ++row) {
        for (int column = 0; column < targetWidth; ++column) {
            const float* pixel = &rgba[(static_cast<std::size_t>(row) * targetWidth + column) * 4];
            const double light = static_cast<double>(pixel[0]) + pixel[1] + pixel[2];
            result.total += light;
            result.centreColumn += light * (column + 0.5);
            result.centreRow += light * (row + 0.5);
            below += row + 0.5 > boundaryRow ? light : 0.0;
        }
    }
    if (result.total > 0.0) {
        result.centreColumn /= result.total;
        result.centreRow /= result.total;
        result.shareBelow = below / result.total;
    }
    return result;
}

class PointsFrame : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(openGlTestSurface(surface, 64, 64));
        program = buildProgram(pointsVertexSource, pointsFragmentSource, "points");
        gl.glGenVertexArrays(1, &vertexArray);
        ASSERT_TRUE(createPointsTarget(target, targetWidth, targetHeight));
    }
    static void TearDownTestSuite() { closeSurfaceWindow(surface); }
    void SetUp() override { ASSERT_NE(program, 0u); }

    static std::vector<float> render(float saverTime, int count = scenePointCount) {
        drawPointsPass(target, program, vertexArray, saverTime, 0, count);
        return readPointsTarget(target);
    }

    static inline ScreenSurface surface;
    static inline GLuint program = 0;
    static inline GLuint vertexArray = 0;
    static inline PointsTarget target;
};

// Nothing lights up before the fade-in and the clear leaves the target opaque; 2 s later the same
// pass is lit. Outside the disc the profile would be negative, so a missing discard shows as
// negative channels.
TEST_F(PointsFrame, BlackAtTimeZeroOpaqueAndNeverNegative) {
    const std::vector<float> picture = render(0.0f);
    int litPixels = 0;
    float smallestAlpha = 2.0f;
    for (std::size_t pixel = 0; pixel < picture.size() / 4; ++pixel) {
        litPixels +=
            picture[pixel * 4] != 0.0f || picture[pixel * 4 + 1] != 0.0f || picture[pixel * 4 + 2] != 0.0f;
        smallestAlpha = std::min(smallestAlpha, picture[pixel * 4 + 3]);
    }
    EXPECT_EQ(litPixels, 0);
    EXPECT_GE(smallestAlpha, 1.0f);
    EXPECT_GT(measure(render(2.0f)).total, 1000.0);
    const std::vector<float> scanning = render(5.0f);
    EXPECT_GE(*std::min_element(scanning.begin(), scanning.end()), 0.0f);
}

// The rising front reveals the model from the bottom up: the model's light splits about the row
// where the front crosses the gantry's axis as predicted (an inverted reveal leaves most above).
TEST_F(PointsFrame, ModelLightLiesBelowTheScanFront) {
    const double cases[][3] = {{3.0, 676.61, 0.6588}, {4.0, 587.44, 0.7202}, {5.0, 495.97, 0.7405}};
    for (const auto& [saverTime, frontRow, expectedShare] : cases) {
        const double share =
            measure(render(static_cast<float>(saverTime), modelPointCount), frontRow).shareBelow;
        EXPECT_GT(share, 0.6) << "uT " << saverTime;
        EXPECT_NEAR(share, expectedShare, 0.02) << "uT " << saverTime;
    }
}

// The lens shift moves the picture 3.5 % of the width left and 1.5 % of the height up: at 12 s
// the model's light is centred at (868.7, 502.6); without the shift it would be at (935.9, 518.8).
// Each sprite adds its whole profile (the disc is cut at d2 = 1, the additive blend loses
// nothing): the model's sums of vCol x size^2 are 324612.63 at 5 s and 333559.76 at 12 s.
TEST_F(PointsFrame, ModelLightIsShiftedAndAddsUpToTheSpriteProfile) {
    const LightMeasure revealed = measure(render(12.0f, modelPointCount));
    EXPECT_NEAR(revealed.centreColumn, 868.73, 5.0);
    EXPECT_NEAR(revealed.centreRow, 502.64, 5.0);
    EXPECT_NEAR(revealed.total, 333559.76 * 0.178877, 0.02 * 59666.0);
    EXPECT_NEAR(measure(render(5.0f, modelPointCount)).total, 324612.63 * 0.178877, 0.02 * 58066.0);
}

} // namespace
