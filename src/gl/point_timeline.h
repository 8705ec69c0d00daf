#pragma once

#include "gl/gl_programs.h"

// What every point of a frame shares: the orbiting camera, where the scan cycle stands, the
// gantry's place and the turns of the floor and the dust. Worked out once per frame here rather
// than once per vertex in the points program, from the saver time in double precision: angles that
// follow the absolute time are reduced to one turn here, so they never jump where the program time
// wraps.
struct PointTimeline {
    float eye[3];
    float forward[3];
    float right[3];
    float up[3];
    float cycle;          // seconds into the 22 s scan cycle
    float scanHeight;     // the reveal front's height
    float scanning;       // 1 while the scan runs, fading in and out
    float gantryVisible;  // the gantry's fade
    float gantryLift;     // 0 on the model, 1 lifted clear
    float gantryAngle;    // the gantry's turn about its axis
    float dissolve;       // the model's dissolve at the cycle's end
    float sliceHeight;    // the sweeping slice plane
    float sliceEnvelope;  // its fade
    float fadeIn;         // the one-time fade-in at start
    float source[3];      // the X-ray source
    float detector[3];    // the detector panel's centre
    float panelAcross[3]; // horizontal along the panel
    float floorSpin;      // the turntable's turn, in [0, 2 pi)
    float dustSway;       // the phase of the dust's common sideways sway, in [0, 2 pi)
};

PointTimeline pointTimeline(double saverTime);

// The points program's per-frame uniforms on the bound program: the program time, the point
// target's size and the timeline.
void setPointUniforms(const GlFunctions& gl, const PointsProgram& points, const PointTimeline& timeline,
                      float programTime, int targetWidth, int targetHeight);
