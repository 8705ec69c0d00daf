// The point pass rendered on its own (opaque black clear, additive GL_ONE/GL_ONE blending,
// program point size, a 1920x1080 half-float target) and read back, checked for properties of the
// whole picture that a fault in either stage or in the pass set-up would break.
//
// Expected values come from an independent double-precision model of the vertex stage, written
// from the design rather than from the GLSL: every model point (vertices 0 to 172799) was
// projected to its pixel and weighted by the light it adds, vCol x pointSize^2 (a sprite of
// diameter s covers s^2 pixels times pi/4, and the disc profile exp(-3 d2)(1 - d2) averages
// (2 + e^-3)/9 over the disc).

#include "common/points_pass.h"
#include "gl/gl_functions.h"
#include "gl/program_builder.h"
#include "shaders/shader_sources.h"
#include "support/test_windows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int targetWidth = 1920;
constexpr int targetHeight = 1080;
constexpr int modelPointCount = 172800; // teeth, mandible and maxilla come first

// Light of one rendered picture: per-pixel sums of red, green and blue.
struct LightMeasure {
    double total = 0.0;
    double centreColumn = 0.0; // light-weighted, in pixels from the left edge
    double centreRow = 0.0;    // light-weighted, in pixels from the top edge
    double brightestPixel = 0.0;
};

LightMeasure measure(const std::vector<float>& rgba) {
    LightMeasure result;
    double columnSum = 0.0;
    double rowSum = 0.0;
    for (int row = 0; row < targetHeight; ++row) {
        for (int column = 0; column < targetWidth; ++column) {
            const float* pixel = &rgba[(static_cast<std::size_t>(row) * targetWidth + column) * 4];
            const double light = static_cast<double>(pixel[0]) + pixel[1] + pixel[2];
            result.total += light;
            columnSum += light * (column + 0.5);
            rowSum += light * (row + 0.5);
            result.brightestPixel = std::max(result.brightestPixel, light);
        }
    }
    if (result.total > 0.0) {
        result.centreColumn = columnSum / result.total;
        result.centreRow = rowSum / result.total;
    }
    return result;
}

// Share of the light in rows below (greater than) the given row.
double shareBelowRow(const std::vector<float>& rgba, double boundaryRow) {
    double below = 0.0;
    double total = 0.0;
    for (int row = 0; row < targetHeight; ++row) {
        for (int column = 0; column < targetWidth; ++column) {
            const float* pixel = &rgba[(static_cast<std::size_t>(row) * targetWidth + column) * 4];
            const double light = static_cast<double>(pixel[0]) + pixel[1] + pixel[2];
            total += light;
            if (row + 0.5 > boundaryRow) {
                below += light;
            }
        }
    }
    return total > 0.0 ? below / total : 0.0;
}

class PointsFrame : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(openGlTestSurface(surface, 64, 64));
        program = buildProgram(pointsVertexSource, pointsFragmentSource, "points");
        ASSERT_NE(program, 0u);
        gl.glGenVertexArrays(1, &vertexArray);
        ASSERT_TRUE(createPointsTarget(target, targetWidth, targetHeight));
    }
    static void TearDownTestSuite() { closeTestSurface(surface); }

    void SetUp() override { ASSERT_NE(program, 0u); }

    static std::vector<float> render(float saverTime, int count = scenePointCount) {
        drawPointsPass(target, program, vertexArray, saverTime, 0, count);
        return readPointsTarget(target);
    }

    static ScreenSurface surface;
    static GLuint program;
    static GLuint vertexArray;
    static PointsTarget target;
};

ScreenSurface PointsFrame::surface;
GLuint PointsFrame::program = 0;
GLuint PointsFrame::vertexArray = 0;
PointsTarget PointsFrame::target;

// Before the fade-in nothing may light up: every vertex's colour is black at uT = 0, and the
// clear leaves the target opaque.
TEST_F(PointsFrame, BlackAtTimeZero) {
    const std::vector<float> picture = render(0.0f);
    int litPixels = 0;
    float smallestAlpha = 2.0f;
    for (std::size_t pixel = 0; pixel < picture.size() / 4; ++pixel) {
        if (picture[pixel * 4] != 0.0f || picture[pixel * 4 + 1] != 0.0f || picture[pixel * 4 + 2] != 0.0f) {
            ++litPixels;
        }
        smallestAlpha = std::min(smallestAlpha, picture[pixel * 4 + 3]);
    }
    EXPECT_EQ(litPixels, 0);
    EXPECT_GE(smallestAlpha, 1.0f);
    // The same pass a little later is lit, so the black frame is the fade's doing.
    EXPECT_GT(measure(render(2.0f)).total, 1000.0);
}

// The rising front reveals the model from the bottom up. The boundary is the row where the front
// crosses the gantry's axis (0, scanH, -0.25); the model's light, drawn alone, splits about it as
// the model predicts (a reveal turned upside down would leave most light above).
TEST_F(PointsFrame, ModelLightLiesBelowTheScanFront) {
    struct Case {
        float saverTime;
        double frontRow;      // scanH -2.0486 at 3 s, -1.0200 at 4 s, 0.0086 at 5 s
        double expectedShare; // share of the model's light in rows below frontRow
    };
    const Case cases[] = {{3.0f, 676.61, 0.6588}, {4.0f, 587.44, 0.7202}, {5.0f, 495.97, 0.7405}};
    for (const Case& scan : cases) {
        const double share = shareBelowRow(render(scan.saverTime, modelPointCount), scan.frontRow);
        EXPECT_GT(share, 0.6) << "uT " << scan.saverTime;
        EXPECT_NEAR(share, scan.expectedShare, 0.02) << "uT " << scan.saverTime;
    }
}

// The lens shift moves the picture 3.5 % of the width left and 1.5 % of the height up. With the
// model fully revealed (12 s) its light is centred at (868.7, 502.6); without the shift it would
// be at (935.9, 518.8), so the tolerance separates the two. The target's centre is (960, 540).
TEST_F(PointsFrame, ModelLightIsCentredLeftOfAndAboveTheCentre) {
    const LightMeasure light = measure(render(12.0f, modelPointCount));
    EXPECT_LT(light.centreColumn, targetWidth / 2.0);
    EXPECT_LT(light.centreRow, targetHeight / 2.0);
    EXPECT_NEAR(light.centreColumn, 868.73, 5.0);
    EXPECT_NEAR(light.centreRow, 502.64, 5.0);
}

// Each sprite adds vCol x size^2 x pi/4 x (2 + e^-3)/9 = vCol x size^2 x 0.178877 in all: the
// disc is cut at d2 = 1 and the additive blend loses nothing. The model's sums of vCol x size^2
// are 324612.63 at 5 s (mid-scan, front glow) and 333559.76 at 12 s (slice band).
TEST_F(PointsFrame, ModelLightAddsUpToTheSpriteProfile) {
    EXPECT_NEAR(measure(render(5.0f, modelPointCount)).total, 324612.63 * 0.178877, 0.02 * 58066.0);
    EXPECT_NEAR(measure(render(12.0f, modelPointCount)).total, 333559.76 * 0.178877, 0.02 * 59666.0);
    // Outside the disc the profile would be negative: the corners of the sprite square are
    // discarded, so no channel anywhere in the whole scene's frame drops below zero.
    const std::vector<float> picture = render(5.0f);
    EXPECT_GE(*std::min_element(picture.begin(), picture.end()), 0.0f);
}

} // namespace
