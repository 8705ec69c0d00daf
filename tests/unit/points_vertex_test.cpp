// The "points" vertex stage as the saver links it, read back per vertex: gl_Position,
// gl_PointSize and vCol recorded with transform feedback while the rasteriser is off (see
// points_capture.h). Covers the dispatch, the model effects over the cycle, the near-plane cull,
// the depth-of-field size clamp and the fade-in.
//
// Expected values were worked out with an independent double-precision model of the vertex
// stage, written from the design rather than from the GLSL, evaluated at the single-precision
// value of each time and size; it agrees with the GPU to about 1e-5 relative.

#include "points_capture.h"
#include "support/test_windows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int modelEnd = 172800;    // teeth, mandible, maxilla
constexpr int gantryStart = 172800; // ring, arms, source, detector, beam
constexpr int gantryEnd = 204400;
constexpr int floorEnd = 212500;
constexpr int pointCount = 217500;

struct Expected {
    float saverTime;
    int vertex;
    float position[4];
    float pointSize;
    float colour[3];
};

bool isCulled(const CapturedPoint& point) {
    return point.position[0] == 3.0f && point.position[1] == 3.0f && point.position[2] == 3.0f &&
           point.position[3] == 1.0f;
}

float brightest(const CapturedPoint& point) {
    return std::max({point.colour[0], point.colour[1], point.colour[2]});
}

// Positions to 1e-5 of the depth, sizes to 1e-4 pixels, colours to 1e-3 relative (beam points
// carry the most rounding: fract of a growing time).
void expectPoint(const CapturedPoint& actual, const Expected& expected) {
    const float depth = std::max(1.0f, std::fabs(expected.position[3]));
    for (int axis = 0; axis < 4; ++axis) {
        EXPECT_NEAR(actual.position[axis], expected.position[axis], 1e-4f * depth)
            << "vertex " << expected.vertex << " at " << expected.saverTime << " s, position " << axis;
    }
    EXPECT_NEAR(actual.pointSize, expected.pointSize, 1e-4f)
        << "vertex " << expected.vertex << " at " << expected.saverTime << " s";
    for (int channel = 0; channel < 3; ++channel) {
        EXPECT_NEAR(actual.colour[channel], expected.colour[channel],
                    1e-3f * expected.colour[channel] + 1e-7f)
            << "vertex " << expected.vertex << " at " << expected.saverTime << " s, colour " << channel;
    }
}

class PointsVertexStage : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(openGlTestSurface(surface, 64, 64));
        ASSERT_TRUE(loadCaptureFunctions());
        program = linkPointsCaptureProgram();
    }
    static void TearDownTestSuite() { closeTestSurface(surface); }
    void SetUp() override { ASSERT_NE(program, 0u); }

    static std::vector<CapturedPoint> capture(float saverTime, float width = 1920.0f,
                                              float height = 1080.0f) {
        return capturePoints(program, 0, pointCount, saverTime, width, height);
    }

    static ScreenSurface surface;
    static GLuint program;
};

ScreenSurface PointsVertexStage::surface;
GLuint PointsVertexStage::program = 0;

// The first and last vertex of several generators at mid-scan (5 s), during the slice (12 s) and
// during the dissolve (20 s), on a 1920 x 1080 target.
TEST_F(PointsVertexStage, VerticesMatchTheReferenceModel) {
    const Expected table[] = {
        {5.00f,
         0,
         {-4.528979f, -0.087884f, 9.830559f, 19.661119f},
         2.350314f,
         {0.737273f, 0.636923f, 0.415744f}},
        {5.00f,
         3599,
         {-3.713871f, 2.422956f, 9.864184f, 19.728369f},
         2.317650f,
         {0.003930f, 0.003655f, 0.003144f}},
        {5.00f,
         100799,
         {-1.810641f, -0.514626f, 12.316196f, 24.632391f},
         3.464304f,
         {0.016157f, 0.015405f, 0.014278f}},
        {5.00f,
         100800,
         {-5.183783f, -1.404236f, 11.792551f, 23.585103f},
         2.955621f,
         {0.020544f, 0.029219f, 0.044741f}},
        {5.00f,
         142800,
         {-0.673868f, 9.287613f, 10.404828f, 20.809656f},
         1.792453f,
         {0.002731f, 0.003885f, 0.005949f}},
        {5.00f,
         172800,
         {7.442056f, 14.442598f, 10.579191f, 21.158382f},
         2.132314f,
         {1.257834f, 1.032748f, 0.595816f}},
        {5.00f,
         178000,
         {6.651688f, 6.872089f, 11.168018f, 22.336036f},
         2.583825f,
         {0.205260f, 0.168529f, 0.097228f}},
        {5.00f,
         179400,
         {6.477994f, 2.763239f, 11.312325f, 22.624650f},
         3.235851f,
         {1.119486f, 1.085902f, 1.007538f}},
        {5.00f,
         179800,
         {-8.931326f, -6.027169f, 11.038862f, 22.077724f},
         2.223466f,
         {0.726037f, 0.631336f, 0.434044f}},
        {5.00f,
         182400,
         {-4.190212f, -6.053179f, 10.183216f, 20.366432f},
         1.806960f,
         {0.161807f, 0.132682f, 0.077667f}},
        {5.00f,
         204400,
         {-0.558700f, -14.009051f, 11.016970f, 22.033939f},
         1.981979f,
         {0.501897f, 0.425137f, 0.295234f}},
        {5.00f,
         212499,
         {5.722536f, -20.363771f, 8.676873f, 17.353746f},
         3.123934f,
         {0.006918f, 0.005860f, 0.004070f}},
        {5.00f,
         212500,
         {17.677444f, -22.343320f, 9.382320f, 18.764640f},
         3.900045f,
         {0.125078f, 0.105329f, 0.072414f}},
        {5.00f,
         217499,
         {-6.512071f, 1.548412f, 4.315829f, 8.631658f},
         10.790472f,
         {0.005486f, 0.004620f, 0.003176f}},
        {12.00f,
         0,
         {-5.613154f, 1.234870f, 10.331096f, 20.662191f},
         1.864078f,
         {0.351276f, 0.326687f, 0.281021f}},
        {12.00f,
         3599,
         {-4.580085f, 3.375500f, 10.227909f, 20.455819f},
         1.964317f,
         {0.277146f, 0.257746f, 0.221717f}},
        {12.00f,
         100799,
         {2.133389f, -0.795825f, 12.067389f, 24.134778f},
         3.222606f,
         {0.020956f, 0.019981f, 0.018519f}},
        {12.00f,
         100800,
         {-1.971582f, -0.275970f, 12.060857f, 24.121713f},
         3.216261f,
         {0.017349f, 0.024675f, 0.037783f}},
        {12.00f,
         142800,
         {-0.077756f, 8.816509f, 10.218508f, 20.437016f},
         1.973449f,
         {1.020758f, 0.817207f, 0.430417f}},
        {12.00f, 172800, {7.790337f, 19.763367f, 8.815627f, 17.631254f}, 4.003498f, {0.0f, 0.0f, 0.0f}},
        {12.00f, 179800, {5.611495f, -0.494809f, 9.396248f, 18.792496f}, 2.772216f, {0.0f, 0.0f, 0.0f}},
        {12.00f,
         204400,
         {-1.288479f, -14.125457f, 10.998139f, 21.996278f},
         1.965516f,
         {0.510340f, 0.432288f, 0.300200f}},
        {12.00f,
         212500,
         {9.789437f, -25.718202f, 7.418953f, 14.837905f},
         6.570225f,
         {0.030694f, 0.025847f, 0.017770f}},
        {12.00f,
         217499,
         {-19.266864f, 8.255125f, 5.709757f, 11.419514f},
         8.894730f,
         {0.027992f, 0.023572f, 0.016206f}},
        {20.00f,
         0,
         {-7.774600f, 9.558427f, 11.417375f, 22.834749f},
         2.591164f,
         {0.071913f, 0.063662f, 0.048756f}},
        {20.00f,
         3599,
         {-6.231807f, 11.267499f, 10.479845f, 20.959691f},
         1.719579f,
         {0.235266f, 0.208271f, 0.159505f}},
        {20.00f,
         100799,
         {7.469544f, -2.613061f, 11.528452f, 23.056905f},
         2.699068f,
         {0.026233f, 0.023459f, 0.018717f}},
        {20.00f,
         100800,
         {2.782849f, -1.498560f, 12.055587f, 24.111174f},
         3.211142f,
         {0.012545f, 0.013281f, 0.014613f}},
        {20.00f,
         142800,
         {1.126197f, 13.667062f, 9.795686f, 19.591373f},
         2.384190f,
         {0.030552f, 0.032343f, 0.035588f}},
        {20.00f, 182400, {-0.088252f, 5.849006f, 10.161758f, 20.323516f}, 1.825720f, {0.0f, 0.0f, 0.0f}},
        {20.00f,
         204400,
         {-2.153392f, -14.013761f, 11.027587f, 22.055173f},
         1.991261f,
         {0.497229f, 0.421182f, 0.292488f}},
        {20.00f,
         217499,
         {-27.046153f, 22.189946f, 8.738091f, 17.476183f},
         4.776196f,
         {0.097095f, 0.081764f, 0.056213f}},
    };
    for (float saverTime : {5.0f, 12.0f, 20.0f}) {
        const std::vector<CapturedPoint> points = capture(saverTime);
        for (const Expected& expected : table) {
            if (expected.saverTime == saverTime) {
                expectPoint(points[expected.vertex], expected);
            }
        }
    }
}

TEST_F(PointsVertexStage, EverythingIsBlackAtTimeZero) {
    const std::vector<CapturedPoint> points = capture(0.0f);
    int lit = 0;
    int culled = 0;
    for (const CapturedPoint& point : points) {
        lit += brightest(point) != 0.0f;
        culled += isCulled(point);
    }
    EXPECT_EQ(lit, 0);
    EXPECT_EQ(culled, 0); // placed as usual, only dark
}

// At 21.85 s motes 212933 (depth 0.090), 215463 (0.2981) and 216749 (-0.428, behind the eye) are
// culled; 214901 at depth 0.3907 is drawn, and so is 214175 at 20 s at depth 0.3144.
TEST_F(PointsVertexStage, PointsNearerThanTheNearPlaneAreParkedBlack) {
    const std::vector<CapturedPoint> late = capture(21.85f);
    for (int vertex : {212933, 215463, 216749}) {
        const CapturedPoint& point = late[vertex];
        EXPECT_TRUE(isCulled(point)) << "vertex " << vertex;
        EXPECT_EQ(point.pointSize, 1.0f) << "vertex " << vertex;
        EXPECT_EQ(brightest(point), 0.0f) << "vertex " << vertex;
    }
    EXPECT_EQ(std::count_if(late.begin(), late.end(), isCulled), 4);
    expectPoint(late[214901], {21.85f,
                               214901,
                               {-2.808117f, -2.684343f, 0.195367f, 0.390733f},
                               16.394301f,
                               {0.007990f, 0.006729f, 0.004626f}});
    expectPoint(capture(20.0f)[214175], {20.0f,
                                         214175,
                                         {5.200022f, -10.981994f, 0.157193f, 0.314387f},
                                         16.446217f,
                                         {0.001884f, 0.001586f, 0.001090f}});
}

// The point size scales with the target height and is clamped to [1, 64]: the near mote 214901
// would be 65.58 pixels at 4320 rows; a distant floor dot falls to 1 at 270 rows.
TEST_F(PointsVertexStage, PointSizeScalesWithHeightAndStaysWithinOneTo64) {
    struct Size {
        float width, height;
        int vertex;
        float pointSize;
    };
    const Size sizes[] = {{7680.0f, 4320.0f, 214901, 64.0f},      {7680.0f, 4320.0f, 204400, 8.005080f},
                          {3840.0f, 2160.0f, 214901, 32.788603f}, {3840.0f, 2160.0f, 204400, 4.002540f},
                          {480.0f, 270.0f, 214901, 4.098575f},    {480.0f, 270.0f, 204400, 1.0f}};
    for (const Size& size : sizes) {
        const std::vector<CapturedPoint> points = capture(21.85f, size.width, size.height);
        EXPECT_NEAR(points[size.vertex].pointSize, size.pointSize, 1e-4f)
            << "vertex " << size.vertex << " at " << size.height << " rows";
        const auto [smallest, largest] = std::minmax_element(
            points.begin(), points.end(),
            [](const CapturedPoint& a, const CapturedPoint& b) { return a.pointSize < b.pointSize; });
        EXPECT_GE(smallest->pointSize, 1.0f) << size.height << " rows";
        EXPECT_LE(largest->pointSize, 64.0f) << size.height << " rows";
    }
}

// From 10.2 s of the cycle to its end the gantry (ring, arms, source, detector, beam) is dark,
// while the floor and the dust keep their light.
TEST_F(PointsVertexStage, GantryIsDarkFromTenPointTwoSecondsWhileFloorAndDustStayLit) {
    for (float saverTime : {10.2f, 15.0f, 21.9f, 32.5f}) {
        const std::vector<CapturedPoint> points = capture(saverTime);
        int litGantry = 0;
        int darkFloorOrDust = 0;
        for (int vertex = gantryStart; vertex < pointCount; ++vertex) {
            const CapturedPoint& point = points[vertex];
            if (vertex < gantryEnd) {
                litGantry += brightest(point) != 0.0f;
            } else if (!isCulled(point)) {
                darkFloorOrDust += !(brightest(point) > 0.0f);
            }
        }
        EXPECT_EQ(litGantry, 0) << "uT " << saverTime;
        EXPECT_EQ(darkFloorOrDust, 0) << "uT " << saverTime;
        EXPECT_GT(brightest(points[floorEnd - 1]), 0.0f);
    }
}

// The dissolve leaves the model dark from 21.8 s of the cycle; at the wrap it is back as the
// faint unrevealed shape, 3.5 % of its light: no model point is brighter than the pulp's 1.5 x
// 0.035 x 0.46 = 0.02415.
TEST_F(PointsVertexStage, ModelIsDarkBeforeTheWrapAndFaintlyBackAfterIt) {
    for (float saverTime : {21.8f, 21.95f}) {
        const std::vector<CapturedPoint> points = capture(saverTime);
        int litModel = 0;
        for (int vertex = 0; vertex < modelEnd; ++vertex) {
            litModel += brightest(points[vertex]) != 0.0f;
        }
        EXPECT_EQ(litModel, 0) << "uT " << saverTime;
        EXPECT_GT(brightest(points[gantryEnd]), 0.0f) << "uT " << saverTime; // the floor is still lit
    }

    const std::vector<CapturedPoint> points = capture(22.0f);
    int dark = 0;
    float brightestModel = 0.0f;
    for (int vertex = 0; vertex < modelEnd; ++vertex) {
        dark += !(std::min({points[vertex].colour[0], points[vertex].colour[1], points[vertex].colour[2]}) >
                  0.0f);
        brightestModel = std::max(brightestModel, brightest(points[vertex]));
    }
    EXPECT_EQ(dark, 0);
    EXPECT_LE(brightestModel, 0.02415f + 1e-6f);
    EXPECT_GT(brightestModel, 0.02f);
    const Expected wrapped[] = {
        {22.0f,
         0,
         {-4.699737f, 3.344529f, 11.073249f, 22.146498f},
         2.256871f,
         {0.006677f, 0.006209f, 0.005341f}},
        {22.0f,
         5,
         {-3.854667f, 9.716611f, 10.483810f, 20.967620f},
         1.715727f,
         {0.023709f, 0.016596f, 0.006639f}},
        {22.0f,
         100800,
         {2.602183f, -1.685627f, 11.657406f, 23.314812f},
         2.824337f,
         {0.000787f, 0.001120f, 0.001715f}},
        {22.0f,
         172799,
         {-1.149727f, 8.764889f, 11.373687f, 22.747373f},
         2.548724f,
         {0.001096f, 0.001559f, 0.002387f}},
    };
    for (const Expected& expected : wrapped) {
        expectPoint(points[expected.vertex], expected);
    }
}

} // namespace
