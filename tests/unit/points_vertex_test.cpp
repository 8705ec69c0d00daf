// The "points" vertex stage as the saver links it, read back per vertex. Expected values come
// from an independent double-precision model of the stage, written from the design rather than
// from the GLSL and evaluated at the single-precision value of each time and size.

#include "points_capture.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int modelEnd = 172800;  // teeth, mandible, maxilla
constexpr int gantryEnd = 204400; // ring, arms, source, detector, beam; then floor and dust
constexpr int pointCount = 217500;

bool isCulled(const CapturedPoint& point) {
    return point.position[0] == 3.0f && point.position[1] == 3.0f && point.position[2] == 3.0f &&
           point.position[3] == 1.0f;
}

float brightest(const CapturedPoint& point) {
    return std::max({point.colour[0], point.colour[1], point.colour[2]});
}
float dimmest(const CapturedPoint& point) {
    return std::min({point.colour[0], point.colour[1], point.colour[2]});
}

class PointsVertexStage : public CaptureSuite {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(openCaptureSurface());
        program = linkPointsCaptureProgram();
    }
    void SetUp() override { ASSERT_NE(program, 0u); }

    static std::vector<CapturedPoint> at(float saverTime, float width = 1920.0f, float height = 1080.0f) {
        return capture<CapturedPoint>(program, 0, pointCount, saverTime, width, height);
    }

    static inline GLuint program = 0;
};

// First and last vertices of the generators at mid-scan (5 s), during the slice (12 s), the
// dissolve (20 s), near the end of the cycle (21.85 s, a mote just beyond the near plane) and
// just after the wrap (22 s, the faint unrevealed model). Positions to 1e-4 of the depth, sizes to
// 1e-4 pixels, colours to 1e-3 relative (beam points carry the most rounding).
TEST_F(PointsVertexStage, VerticesMatchTheReferenceModel) {
    struct Expected {
        float saverTime;
        int vertex;
        float position[4];
        float pointSize;
        float colour[3];
    };
    const Expected table[] = {
        {5, 0, {-4.528979, -0.087884, 9.830559, 19.661119}, 2.350314, {0.737273, 0.636923, 0.415744}},
        {5, 3599, {-3.713871, 2.422956, 9.864184, 19.728369}, 2.317650, {0.003930, 0.003655, 0.003144}},
        {5, 100799, {-1.810641, -0.514626, 12.316196, 24.632391}, 3.464304, {0.016157, 0.015405, 0.014278}},
        {5, 100800, {-5.183783, -1.404236, 11.792551, 23.585103}, 2.955621, {0.020544, 0.029219, 0.044741}},
        {5, 142800, {-0.673868, 9.287613, 10.404828, 20.809656}, 1.792453, {0.002731, 0.003885, 0.005949}},
        {5, 172800, {7.442056, 14.442598, 10.579191, 21.158382}, 2.132314, {1.257834, 1.032748, 0.595816}},
        {5, 178000, {6.651688, 6.872089, 11.168018, 22.336036}, 2.583825, {0.205260, 0.168529, 0.097228}},
        {5, 179400, {6.477994, 2.763239, 11.312325, 22.624650}, 3.235851, {1.119486, 1.085902, 1.007538}},
        {5, 179800, {-8.931326, -6.027169, 11.038862, 22.077724}, 2.223466, {0.726037, 0.631336, 0.434044}},
        {5, 182400, {-4.190212, -6.053179, 10.183216, 20.366432}, 1.806960, {0.161807, 0.132682, 0.077667}},
        {5, 204400, {-0.558700, -14.009051, 11.016970, 22.033939}, 1.981979, {0.501897, 0.425137, 0.295234}},
        {5, 212499, {5.722536, -20.363771, 8.676873, 17.353746}, 3.123934, {0.006918, 0.005860, 0.004070}},
        {5, 212500, {17.677444, -22.343320, 9.382320, 18.764640}, 3.900045, {0.125078, 0.105329, 0.072414}},
        {5, 217499, {-6.512071, 1.548412, 4.315829, 8.631658}, 10.790472, {0.005486, 0.004620, 0.003176}},
        {12, 0, {-5.613154, 1.234870, 10.331096, 20.662191}, 1.864078, {0.351276, 0.326687, 0.281021}},
        {12, 3599, {-4.580085, 3.375500, 10.227909, 20.455819}, 1.964317, {0.277146, 0.257746, 0.221717}},
        {12, 100799, {2.133389, -0.795825, 12.067389, 24.134778}, 3.222606, {0.020956, 0.019981, 0.018519}},
        {12, 100800, {-1.971582, -0.275970, 12.060857, 24.121713}, 3.216261, {0.017349, 0.024675, 0.037783}},
        {12, 142800, {-0.077756, 8.816509, 10.218508, 20.437016}, 1.973449, {1.020758, 0.817207, 0.430417}},
        {12, 172800, {7.790337, 19.763367, 8.815627, 17.631254}, 4.003498, {0, 0, 0}},
        {12, 179800, {5.611495, -0.494809, 9.396248, 18.792496}, 2.772216, {0, 0, 0}},
        {12, 204400, {-1.288479, -14.125457, 10.998139, 21.996278}, 1.965516, {0.510340, 0.432288, 0.300200}},
        {12, 212500, {9.789437, -25.718202, 7.418953, 14.837905}, 6.570225, {0.030694, 0.025847, 0.017770}},
        {12, 217499, {-19.266864, 8.255125, 5.709757, 11.419514}, 8.894730, {0.027992, 0.023572, 0.016206}},
        {20, 0, {-7.774600, 9.558427, 11.417375, 22.834749}, 2.591164, {0.071913, 0.063662, 0.048756}},
        {20, 3599, {-6.231807, 11.267499, 10.479845, 20.959691}, 1.719579, {0.235266, 0.208271, 0.159505}},
        {20, 100799, {7.469544, -2.613061, 11.528452, 23.056905}, 2.699068, {0.026233, 0.023459, 0.018717}},
        {20, 100800, {2.782849, -1.498560, 12.055587, 24.111174}, 3.211142, {0.012545, 0.013281, 0.014613}},
        {20, 142800, {1.126197, 13.667062, 9.795686, 19.591373}, 2.384190, {0.030552, 0.032343, 0.035588}},
        {20, 182400, {-0.088252, 5.849006, 10.161758, 20.323516}, 1.825720, {0, 0, 0}},
        {20, 204400, {-2.153392, -14.013761, 11.027587, 22.055173}, 1.991261, {0.497229, 0.421182, 0.292488}},
        {20, 214175, {5.200022, -10.981994, 0.157193, 0.314387}, 16.446217, {0.001884, 0.001586, 0.001090}},
        {20, 217499, {-27.046153, 22.189946, 8.738091, 17.476183}, 4.776196, {0.097095, 0.081764, 0.056213}},
        {21.85f,
         214901,
         {-2.808117, -2.684343, 0.195367, 0.390733},
         16.394301,
         {0.007990, 0.006729, 0.004626}},
        {22, 0, {-4.699737, 3.344529, 11.073249, 22.146498}, 2.256871, {0.006677, 0.006209, 0.005341}},
        {22, 5, {-3.854667, 9.716611, 10.483810, 20.967620}, 1.715727, {0.023709, 0.016596, 0.006639}},
        {22, 100800, {2.602183, -1.685627, 11.657406, 23.314812}, 2.824337, {0.000787, 0.001120, 0.001715}},
        {22, 172799, {-1.149727, 8.764889, 11.373687, 22.747373}, 2.548724, {0.001096, 0.001559, 0.002387}},
    };
    std::vector<CapturedPoint> points;
    for (std::size_t row = 0; row < std::size(table); ++row) {
        const Expected& expected = table[row];
        if (row == 0 || table[row - 1].saverTime != expected.saverTime) {
            points = at(expected.saverTime);
        }
        const CapturedPoint& actual = points[expected.vertex];
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
}

// Which parts carry light over the cycle: nothing before the fade-in; the gantry dark from 10.2 s
// while floor and dust stay lit; the model dissolved to black by 21.8 s and back at the wrap as the
// faint unrevealed shape. At 21.85 s exactly four points are nearer than the near plane.
TEST_F(PointsVertexStage, LightOfEachPartOverTheCycle) {
    enum Light { dark, lit, either };
    struct Phase {
        float saverTime;
        Light model, gantry, floorAndDust;
        int culled; // -1: not checked
    };
    const Phase phases[] = {
        {0.0f, dark, dark, dark, 0},   {10.2f, either, dark, lit, -1},      {15.0f, either, dark, lit, -1},
        {21.8f, dark, dark, lit, -1},  {21.85f, either, either, either, 4}, {21.9f, either, dark, lit, -1},
        {21.95f, dark, dark, lit, -1}, {22.0f, lit, either, either, -1},    {32.5f, either, dark, lit, -1}};
    for (const Phase& phase : phases) {
        const std::vector<CapturedPoint> points = at(phase.saverTime);
        const int ends[] = {0, modelEnd, gantryEnd, pointCount};
        const Light wanted[] = {phase.model, phase.gantry, phase.floorAndDust};
        for (int part = 0; part < 3; ++part) {
            int wrong = 0;
            for (int vertex = ends[part]; vertex < ends[part + 1]; ++vertex) {
                const CapturedPoint& point = points[vertex];
                wrong += (wanted[part] == dark && brightest(point) != 0.0f) ||
                         (wanted[part] == lit && !(part == 2 && isCulled(point)) && !(dimmest(point) > 0.0f));
            }
            EXPECT_EQ(wrong, 0) << "part " << part << " at " << phase.saverTime << " s";
        }
        if (phase.culled >= 0) {
            EXPECT_EQ(std::count_if(points.begin(), points.end(), isCulled), phase.culled) << phase.saverTime;
        }
    }
}

// Parked points are black and of size 1: motes 212933 (depth 0.090), 215463 (0.298) and 216749
// (behind the eye) at 21.85 s. Unrevealed, the model keeps 3.5 % of its light: at the wrap no
// model point is brighter than the pulp's 1.5 x 0.035 x 0.46 = 0.02415.
TEST_F(PointsVertexStage, NearPointsAreParkedAndTheGhostIsFaint) {
    const std::vector<CapturedPoint> late = at(21.85f);
    for (int vertex : {212933, 215463, 216749}) {
        EXPECT_TRUE(isCulled(late[vertex])) << "vertex " << vertex;
        EXPECT_EQ(late[vertex].pointSize, 1.0f) << "vertex " << vertex;
        EXPECT_EQ(brightest(late[vertex]), 0.0f) << "vertex " << vertex;
    }
    const std::vector<CapturedPoint> wrapped = at(22.0f);
    const float brightestModel = brightest(*std::max_element(
        wrapped.begin(), wrapped.begin() + modelEnd,
        [](const CapturedPoint& a, const CapturedPoint& b) { return brightest(a) < brightest(b); }));
    EXPECT_LE(brightestModel, 0.02415f + 1e-6f);
    EXPECT_GT(brightestModel, 0.02f);
}

// The size scales with the target height and is clamped to [1, 64]: the near mote 214901 would be
// 65.58 pixels at 4320 rows; a distant floor dot falls to 1 at 270 rows.
TEST_F(PointsVertexStage, PointSizeScalesWithHeightAndStaysWithinOneTo64) {
    struct Size {
        float width, height;
        int vertex;
        float pointSize;
    };
    const Size sizes[] = {{7680, 4320, 214901, 64.0f},      {7680, 4320, 204400, 8.005080f},
                          {3840, 2160, 214901, 32.788603f}, {3840, 2160, 204400, 4.002540f},
                          {480, 270, 214901, 4.098575f},    {480, 270, 204400, 1.0f}};
    for (const Size& size : sizes) {
        const std::vector<CapturedPoint> points = at(21.85f, size.width, size.height);
        EXPECT_NEAR(points[size.vertex].pointSize, size.pointSize, 1e-4f)
            << "vertex " << size.vertex << " at " << size.height << " rows";
        const auto [smallest, largest] = std::minmax_element(
            points.begin(), points.end(),
            [](const CapturedPoint& a, const CapturedPoint& b) { return a.pointSize < b.pointSize; });
        EXPECT_GE(smallest->pointSize, 1.0f) << size.height << " rows";
        EXPECT_LE(largest->pointSize, 64.0f) << size.height << " rows";
    }
}

} // namespace
