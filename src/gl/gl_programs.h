#pragma once

#include "gl/gl_functions.h"

// The window's programs, each with its uniform locations, looked up once when the program is built.

struct PointsProgram {
    GLuint program = 0;
    GLint time = -1; // uT, the program time
    GLint resolution = -1;
    GLint eye = -1;
    GLint forward = -1;
    GLint right = -1;
    GLint up = -1;
    GLint source = -1;
    GLint detector = -1;
    GLint panelAcross = -1;
    GLint cycle = -1;
    GLint scanHeight = -1;
    GLint scanning = -1;
    GLint gantryVisible = -1;
    GLint gantryLift = -1;
    GLint gantryAngle = -1;
    GLint dissolve = -1;
    GLint sliceHeight = -1;
    GLint sliceEnvelope = -1;
    GLint fadeIn = -1;
    GLint floorSpin = -1;
    GLint dustSway = -1;
};

struct BlurProgram {
    GLuint program = 0;
    GLint texture = -1;
    GLint direction = -1;
};

struct CompositeProgram {
    GLuint program = 0;
    GLint scene = -1;
    GLint bloom = -1;
    GLint resolution = -1;
    GLint time = -1;
};

struct OverlayProgram {
    GLuint program = 0;
    GLint rect = -1;
    GLint resolution = -1;
    GLint alpha = -1;
    GLint texture = -1;
};

struct GlPrograms {
    PointsProgram points;
    BlurProgram blur;
    CompositeProgram composite;
    OverlayProgram overlay;
    GLuint bake = 0; // records the model's points into the point buffer; no uniforms
};

// Builds the window's five programs "points", "blur", "composite", "ui" and "bake", in that order
// and always all five, and looks up their uniforms. False when any of them but the bake did not
// build; a bake that did not is 0.
bool buildGlPrograms(const GlFunctions& gl, GlPrograms& programs);

// The programs' uniform locations, after a (re)link.
void lookUpProgramUniforms(const GlFunctions& gl, GlPrograms& programs);
