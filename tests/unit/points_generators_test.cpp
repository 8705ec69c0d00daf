// The point-cloud vertex source's building blocks (hash, random numbers, arc walk, camera) and its
// generators' emit records, read back through probe programs. Expected values come from an
// independent double-precision model written from the design, not from the GLSL.

#include "points_capture.h"

#include <cmath>
#include <vector>

namespace {

constexpr int modelEnd = 172800; // teeth, mandible, maxilla: vertices below this
constexpr int detectorStart = 179800;
constexpr int floorStart = 204400;
constexpr int dustStart = 212500;
constexpr int pointCount = 217500;
constexpr float tolerance = 2e-4f;

// The emit record of every vertex, dispatched as the program does, before any effect:
// A = (gP, gI), B = (gN, gSize, negated for non-model points), C = (gC, 0).
const char* const emitProbe = R"(
void main() {
    setupCamera();
    generatePoint(gl_VertexID);
    vProbeA = vec4(gP, gI);
    vProbeB = vec4(gN, gModel ? gSize : -gSize);
    vProbeC = vec4(gC, 0.0);
}
)";

class PointGenerators : public CaptureSuite {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(openCaptureSurface());
        emitProgram = linkProbeProgram(emitProbe);
    }
    void SetUp() override { ASSERT_NE(emitProgram, 0u); }

    static std::vector<ProbeRecord> emitted(int first, int count, float saverTime) {
        return capture<ProbeRecord>(emitProgram, first, count, saverTime);
    }

    static inline GLuint emitProgram = 0;
};

void expectVector(const float* actual, const float (&expected)[3], float limit, const char* what, int index) {
    for (int axis = 0; axis < 3; ++axis) {
        EXPECT_NEAR(actual[axis], expected[axis], limit) << what << " " << index << " axis " << axis;
    }
}

// Points (vertex, gP, gI) at known times, for the generators laid out by index.
struct Emitted {
    float saverTime;
    int vertex;
    float position[3];
    float intensity;
};

template <std::size_t size>
void expectEmitted(const std::vector<ProbeRecord>& records, const Emitted (&table)[size], float saverTime,
                   float intensityLimit) {
    for (const Emitted& point : table) {
        if (point.saverTime == saverTime) {
            expectVector(records[point.vertex].a, point.position, tolerance, "point", point.vertex);
            EXPECT_NEAR(records[point.vertex].a[3], point.intensity, intensityLimit)
                << "point " << point.vertex;
        }
    }
}

TEST_F(PointGenerators, HashGivesKnownValuesAndKeepsZero) {
    const GLuint program = linkProbeProgram(R"(
vec2 halves(uint h) { return vec2(float(h >> 16u), float(h & 0xFFFFu)); }
void main() {
    vProbeA = vec4(halves(hsh(0u)), halves(hsh(1u)));
    vProbeB = vec4(halves(hsh(0xFFFFFFFFu)), halves(hsh(0x632BE5ACu)));
    vProbeC = vec4(0.0);
}
)");
    ASSERT_NE(program, 0u);
    const ProbeRecord record = capture<ProbeRecord>(program, 0, 1, 0.0f)[0];
    auto joined = [](const float* halves) {
        return (static_cast<unsigned>(halves[0]) << 16) | static_cast<unsigned>(halves[1]);
    };
    EXPECT_EQ(joined(record.a), 0u); // zero is a fixed point of the mix
    EXPECT_EQ(joined(record.a + 2), 0x688990C0u);
    EXPECT_EQ(joined(record.b), 0x6768824Au);
    EXPECT_EQ(joined(record.b + 2), 0x7239FE19u); // the key part of rnd(id, 1)
}

TEST_F(PointGenerators, RandomNumbersAreExactMultiplesOfTwoToTheMinus24BelowOne) {
    const GLuint program = linkProbeProgram(R"(
void main() {
    int id = gl_VertexID;
    vProbeA = vec4(rnd(id, 1), rnd(id, 2), rnd(id, 11), rnd(id, 71));
    vProbeB = vec4(rnd(id, 4), rnd(id, 74), rnd(id, 81), rnd(id, 84));
    vProbeC = vec4(0.0);
}
)");
    ASSERT_NE(program, 0u);
    // (id, output of vProbeA, value x 2^24); the last four are ids whose 24 hash bits are all ones
    // or all zeros for keys 1 and 2.
    const int known[][3] = {{0, 0, 254691},        {1, 0, 9375744},         {100800, 2, 421126},
                            {212500, 3, 12940328}, {14108501, 0, 16777215}, {2150621, 1, 16777215},
                            {4350902, 0, 0},       {8041975, 1, 0}};
    for (const auto& [id, output, scaled] : known) {
        EXPECT_EQ(capture<ProbeRecord>(program, id, 1, 0.0f)[0].a[output], scaled / 16777216.0f)
            << "id " << id;
    }
    // Over every vertex index of the scene, for eight keys.
    double sum = 0.0;
    int outsideOrOffGrid = 0;
    for (const ProbeRecord& record : capture<ProbeRecord>(program, 0, pointCount, 0.0f)) {
        for (float value : {record.a[0], record.a[1], record.a[2], record.a[3], record.b[0], record.b[1],
                            record.b[2], record.b[3]}) {
            sum += value;
            const float scaled = value * 16777216.0f;
            outsideOrOffGrid += value < 0.0f || value >= 1.0f || scaled != std::floor(scaled);
        }
    }
    EXPECT_EQ(outsideOrOffGrid, 0);
    EXPECT_NEAR(sum / (8.0 * pointCount), 0.5, 0.003);
}

// Sixty steps of 0.04 cover arc lengths 9.1822 (upper) and 8.6290 (lower) and end at 2.4.
TEST_F(PointGenerators, ArcWalkStopsAfterSixtySteps) {
    const GLuint program = linkProbeProgram(R"(
const float S[9] = float[9](0.0, 0.43, 0.27, 5.11, 9.17, 9.20, 8.62, 8.64, 100.0);
void main() {
    float s = S[gl_VertexID];
    vProbeA = vec4(phiForArc(s, ARCH_U), phiForArc(s, ARCH_L), 0.0, 0.0);
    vProbeB = vec4(0.0);
    vProbeC = vec4(0.0);
}
)");
    ASSERT_NE(program, 0u);
    const float upper[9] = {0.0f, 0.140680f, 0.088466f, 1.412297f, 2.396720f,
                            2.4f, 2.251659f, 2.256830f, 2.4f};
    const float lower[9] = {0.0f, 0.150493f, 0.094657f, 1.490138f, 2.4f, 2.4f, 2.397412f, 2.4f, 2.4f};
    const std::vector<ProbeRecord> records = capture<ProbeRecord>(program, 0, 9, 0.0f);
    for (int index = 0; index < 9; ++index) {
        EXPECT_NEAR(records[index].a[0], upper[index], 1e-4f) << "upper arch, case " << index;
        EXPECT_NEAR(records[index].a[1], lower[index], 1e-4f) << "lower arch, case " << index;
    }
}

// The eye is internal: a probe calls setupCamera and writes the basis out.
TEST_F(PointGenerators, CameraAtTimeZero) {
    const GLuint program = linkProbeProgram(R"(
void main() {
    setupCamera();
    vProbeA = vec4(gEye, length(gEye - TARGET));
    vProbeB = vec4(gF, dot(gR, gU));
    vProbeC = vec4(gR, dot(gF, gR));
}
)");
    ASSERT_NE(program, 0u);
    const ProbeRecord camera = capture<ProbeRecord>(program, 0, 1, 0.0f)[0];
    expectVector(camera.a, {10.486186f, 5.955924f, 17.103403f}, 1e-4f, "eye", 0);
    expectVector(camera.b, {-0.499342f, -0.295520f, -0.814448f}, 1e-5f, "forward", 0);
    expectVector(camera.c, {0.852525f, 0.0f, -0.522687f}, 1e-5f, "right", 0);
    EXPECT_NEAR(camera.a[3], 21.0f, 1e-4f);
    EXPECT_NEAR(camera.b[3], 0.0f, 1e-5f);
    EXPECT_NEAR(camera.c[3], 0.0f, 1e-5f);
}

// Each tooth's 3600 points, then the mandible and the maxilla, averaged: the table walk, the arc
// placement, the tilt and the surface classes all move these. Teeth 0-6 run along the upper arch
// on the +x side, 7-13 mirror them, 14-27 do the same on the lower arch.
TEST_F(PointGenerators, TeethAndJawsSitOnTheirArches) {
    const float centroids[30][3] = {
        {0.376873f, 0.882438f, 1.697898f},    {1.041006f, 0.805427f, 1.520364f},
        {1.583948f, 0.956241f, 1.128029f},    {2.087788f, 0.823563f, 0.632437f},
        {2.457774f, 0.781356f, 0.080508f},    {2.795971f, 0.755314f, -0.683805f},
        {3.020515f, 0.724695f, -1.616675f},   {-0.377494f, 0.876708f, 1.697277f},
        {-1.041396f, 0.803076f, 1.515992f},   {-1.579683f, 0.937769f, 1.124755f},
        {-2.087789f, 0.803492f, 0.636707f},   {-2.461099f, 0.788231f, 0.080372f},
        {-2.804838f, 0.747614f, -0.682109f},  {-3.012092f, 0.699086f, -1.619582f},
        {0.246852f, -0.781734f, 1.698246f},   {0.762267f, -0.879832f, 1.562856f},
        {1.293568f, -1.011242f, 1.258473f},   {1.812488f, -0.839690f, 0.816591f},
        {2.212665f, -0.794518f, 0.249131f},   {2.593141f, -0.755417f, -0.565677f},
        {2.820529f, -0.704303f, -1.625004f},  {-0.251963f, -0.805524f, 1.689865f},
        {-0.767110f, -0.879295f, 1.560672f},  {-1.288735f, -0.995588f, 1.260286f},
        {-1.807168f, -0.827833f, 0.818567f},  {-2.213814f, -0.812000f, 0.254181f},
        {-2.591023f, -0.755985f, -0.565918f}, {-2.821472f, -0.723996f, -1.614315f},
        {-0.006887f, -1.767492f, -0.712206f}, {-0.021925f, 1.930251f, 0.146238f}};
    const double jawIntensities[2] = {0.881833, 0.649059};
    const std::vector<ProbeRecord> records = emitted(0, pointCount, 0.0f);
    for (int part = 0, first = 0; part < 30; ++part) {
        const int end = part < 28 ? first + 3600 : (part == 28 ? 142800 : modelEnd);
        double sum[4] = {};
        for (int index = first; index < end; ++index) {
            for (int axis = 0; axis < 4; ++axis) {
                sum[axis] += records[index].a[axis];
            }
        }
        const float mean[3] = {static_cast<float>(sum[0] / (end - first)),
                               static_cast<float>(sum[1] / (end - first)),
                               static_cast<float>(sum[2] / (end - first))};
        expectVector(mean, centroids[part], 1e-4f, "part", part);
        if (part >= 28) {
            EXPECT_NEAR(sum[3] / (end - first), jawIntensities[part - 28], 1e-4) << "part " << part;
        }
        first = end;
    }

    // Single points, one of each surface class of teeth 0, 7 and 14 and of the jaws: (vertex, gP,
    // gN, gI). The first mandible point lies inside the body: no normal, intensity 0.30.
    struct Sample {
        int vertex;
        float position[3];
        float normal[3];
        float intensity;
    };
    const Sample samples[] = {
        {0, {0.251702f, 0.027702f, 1.985074f}, {0.057860f, -0.955336f, 0.289801f}, 1.35f},  // biting surface
        {1, {0.452590f, 0.300535f, 2.025170f}, {1.287292f, 1.923657f, 6.084378f}, 1.35f},   // crown wall
        {2, {0.517964f, 1.152796f, 1.419354f}, {0.549388f, -0.211908f, -0.808250f}, 0.55f}, // root
        {5, {0.317842f, 2.046186f, 1.360022f}, {0.0f, 0.0f, 0.0f}, 1.5f},                   // pulp
        {25200, {-0.077043f, 1.056904f, 1.607709f}, {0.976809f, -0.114118f, -0.181169f}, 0.55f},
        {25202, {-0.392318f, 0.050327f, 2.031586f}, {-0.057860f, -0.955336f, 0.289801f}, 1.35f},
        {50400, {0.210998f, -1.558531f, 1.682843f}, {-0.189460f, -0.169792f, 0.967096f}, 0.55f},
        {50402, {0.461191f, -0.022894f, 1.766587f}, {0.023937f, 0.983844f, 0.177422f}, 1.35f},
        {100800, {-2.803293f, -1.649637f, 0.132606f}, {0.0f, 0.0f, 0.0f}, 0.30f},
    };
    for (const Sample& sample : samples) {
        const ProbeRecord& record = records[sample.vertex];
        expectVector(record.a, sample.position, tolerance, "position of vertex", sample.vertex);
        expectVector(record.b, sample.normal, 1e-3f, "normal of vertex", sample.vertex);
        EXPECT_FLOAT_EQ(record.a[3], sample.intensity) << "vertex " << sample.vertex;
    }
    expectVector(records[100802].a, {0.134980f, -2.031641f, 1.221424f}, tolerance, "mandible", 100802);
    expectVector(records[142801].a, {1.840705f, 1.753049f, -1.304297f}, tolerance, "palate", 142801);
    expectVector(records[5].c, {1.0f, 0.70f, 0.28f}, 1e-6f, "pulp colour", 5);
    expectVector(records[142801].c, {0.45f, 0.64f, 0.98f}, 1e-6f, "bone colour", 142801);

    // Model points are emitted with size 1.0 and the model flag; no other point is.
    int wrongFlags = 0;
    for (int index = 0; index < pointCount; ++index) {
        wrongFlags += index < modelEnd ? records[index].b[3] != 1.0f : records[index].b[3] >= 0.0f;
    }
    EXPECT_EQ(wrongFlags, 0);
}

// Detector cell 0 is the bottom corner at the -tdir end, 51 the other bottom corner, 2599 the top
// corner, 53 an inner cell; at 9.5 s the gantry has risen and is fading. At 8.6 s it is fully
// visible and scanning is off: 200 frame cells at 1.8, the rest 0.40.
TEST_F(PointGenerators, DetectorGridCornersAndFrame) {
    const Emitted cells[] = {
        {5.0f, 0, {-2.317481f, -2.300000f, 2.679468f}, 1.800000f},
        {5.0f, 51, {1.124907f, -2.300000f, 3.311893f}, 1.800000f},
        {5.0f, 53, {-2.249983f, -2.220408f, 2.691868f}, 0.845414f},
        {5.0f, 2599, {1.124907f, 1.600000f, 3.311893f}, 1.800000f},
        {9.5f, 0, {1.762399f, -0.757520f, -3.543395f}, 0.732129f},
        {9.5f, 51, {-1.737576f, -0.757520f, -3.556559f}, 0.732129f},
        {9.5f, 53, {1.693772f, -0.677928f, -3.543653f}, 0.162695f},
        {9.5f, 2599, {-1.737576f, 3.142480f, -3.556559f}, 0.732129f},
    };
    for (float saverTime : {5.0f, 9.5f}) {
        expectEmitted(emitted(detectorStart, 2600, saverTime), cells, saverTime, 1e-4f);
    }
    int frame = 0;
    int inner = 0;
    for (const ProbeRecord& record : emitted(detectorStart, 2600, 8.6f)) {
        frame += record.a[3] == 1.8f;
        inner += std::fabs(record.a[3] - 0.40f) < 1e-6f;
    }
    EXPECT_EQ(frame, 200);
    EXPECT_EQ(inner, 2400);
}

// Ring 0 starts at radius 0.55, ring 26 ends at 6.27, both at height -4.3; ring 1 is offset by half
// a dot and turns the other way.
TEST_F(PointGenerators, FloorRings) {
    const Emitted dots[] = {
        {0.0f, 0, {0.550000f, -4.3f, -0.250000f}, 1.321143f},
        {0.0f, 299, {0.549879f, -4.3f, -0.261518f}, 1.321143f},
        {0.0f, 300, {0.769958f, -4.3f, -0.241937f}, 0.718901f},
        {0.0f, 8099, {6.268625f, -4.3f, -0.381309f}, 0.045241f},
        {10.0f, 0, {0.539037f, -4.3f, -0.140732f}, 1.321143f},
        {10.0f, 299, {0.541207f, -4.3f, -0.152045f}, 1.321143f},
        {10.0f, 300, {0.756212f, -4.3f, -0.395064f}, 0.718901f},
        {10.0f, 8099, {6.169757f, -4.3f, 0.866692f}, 0.045241f},
    };
    for (float saverTime : {0.0f, 10.0f}) {
        const std::vector<ProbeRecord> records = emitted(floorStart, 8100, saverTime);
        expectEmitted(records, dots, saverTime, 1e-5f);
        EXPECT_NEAR(std::hypot(records[0].a[0], records[0].a[2] + 0.25f), 0.55f, 1e-5f);
        EXPECT_NEAR(std::hypot(records[8099].a[0], records[8099].a[2] + 0.25f), 6.27f, 1e-5f);
    }
}

// Motes stay in the 30 x 14 x 30 box (x may sway 0.4 beyond it), never move in z, and re-enter at
// the bottom: mote 212502 passes the top at 11.9425 s.
TEST_F(PointGenerators, DustStaysInItsBoxAndWraps) {
    const std::vector<ProbeRecord> start = emitted(dustStart, 5000, 0.0f);
    for (float saverTime : {0.0f, 37.3f, 500.0f}) {
        const std::vector<ProbeRecord> records = emitted(dustStart, 5000, saverTime);
        int outside = 0;
        int movedInZ = 0;
        for (std::size_t index = 0; index < records.size(); ++index) {
            const float* p = records[index].a;
            outside += std::fabs(p[0]) > 15.4f || p[1] < -7.0f || p[1] >= 7.0f || std::fabs(p[2]) > 15.0f ||
                       std::fabs(p[0] - start[index].a[0]) > 0.8f;
            movedInZ += p[2] != start[index].a[2];
        }
        EXPECT_EQ(outside, 0) << "uT " << saverTime;
        EXPECT_EQ(movedInZ, 0) << "uT " << saverTime;
    }
    const Emitted wrap[] = {{11.89f, 0, {-6.275180f, 6.991484f, 7.118962f}, 0.508458f},
                            {11.99f, 0, {-6.276334f, -6.992310f, 7.118962f}, 0.524747f}};
    for (const Emitted& mote : wrap) {
        expectEmitted(emitted(212502, 1, mote.saverTime), wrap, mote.saverTime, 1e-4f);
    }
}

} // namespace
