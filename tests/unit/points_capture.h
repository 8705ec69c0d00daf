#pragma once

// Transform-feedback capture of the "points" vertex stage for tests: the outputs are recorded with
// the rasteriser off and read back on the CPU.

#include "gl/gl_api.h"
#include "support/test_windows.h"

#include <gtest/gtest.h>

#include <vector>

// gl_Position, gl_PointSize and vCol of the real program, in recording order.
struct CapturedPoint {
    float position[4];
    float pointSize;
    float colour[3];
};

// The vec4 outputs vProbeA, vProbeB and vProbeC of a probe program.
struct ProbeRecord {
    float a[4];
    float b[4];
    float c[4];
};

// The saver's embedded point-cloud sources recording CapturedPoint; 0 on failure.
GLuint linkPointsCaptureProgram();

// The whole point-cloud vertex source with its own main renamed, followed by probeMain: a main
// that may call any of its functions and writes vProbeA, vProbeB and vProbeC (declared here).
GLuint linkProbeProgram(const char* probeMain);

// Runs vertices first .. first + count - 1 with uT and uRes set; bytesPerVertex bytes per vertex.
void recordVertices(GLuint program, int first, int count, float saverTime, float width, float height,
                    void* output, std::size_t bytesPerVertex);

template <typename Record>
std::vector<Record> capture(GLuint program, int first, int count, float saverTime, float width = 1920.0f,
                            float height = 1080.0f) {
    std::vector<Record> records(static_cast<std::size_t>(count));
    recordVertices(program, first, count, saverTime, width, height, records.data(), sizeof(Record));
    return records;
}

// A suite with the saver's 3.3 core context current and the capture entry points loaded.
class CaptureSuite : public ::testing::Test {
  protected:
    static bool openCaptureSurface();
    static void TearDownTestSuite() { closeSurfaceWindow(surface); }
    static inline ScreenSurface surface;
};
