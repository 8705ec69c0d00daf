#pragma once

// Transform-feedback capture of the "points" vertex stage for tests: the stage's outputs are
// written to a buffer with the rasteriser switched off and read back on the CPU. Needs a current
// 3.3 core context with the saver's entry-point table loaded (openGlTestSurface).

#include "gl/gl_api.h"

#include <string>
#include <vector>

// What the real program writes for one vertex: gl_Position, gl_PointSize and vCol, in the order
// of capturedPointVaryings.
struct CapturedPoint {
    float position[4];
    float pointSize;
    float colour[3];
};

// What a probe program writes for one vertex: the vec4 outputs vProbeA, vProbeB and vProbeC.
struct ProbeRecord {
    float a[4];
    float b[4];
    float c[4];
};

// Fetches the transform-feedback and buffer entry points; false when one is missing.
bool loadCaptureFunctions();

// Links the saver's embedded point-cloud sources with gl_Position, gl_PointSize and vCol
// recorded; 0 on failure (the compiler or linker message is printed).
GLuint linkPointsCaptureProgram();

// A vertex-only program made of the whole point-cloud vertex source with its own main renamed,
// followed by probeMain: a main that may call any function of the source and writes
// "out vec4 vProbeA, vProbeB, vProbeC;" (declared here). 0 on failure.
GLuint linkProbeProgram(const char* probeMain);

// Runs vertices first .. first + count - 1 (gl_VertexID takes these values) through the program
// with uT and uRes set and returns the recorded outputs of each vertex.
std::vector<CapturedPoint> capturePoints(GLuint program, int first, int count, float saverTime,
                                         float width = 1920.0f, float height = 1080.0f);
std::vector<ProbeRecord> captureProbe(GLuint program, int first, int count, float saverTime);
