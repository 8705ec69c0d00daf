#pragma once

#include "gl/gl_api.h"

struct ScreenSurface;

// Compiles both stages and links them into one program on the current context. Compile and link
// errors go to the diagnostic log under programName ("shader <name> failed: <log>", "link <name>
// failed: <log>"). Returns the program, or 0 when any step failed. Nothing is detached or deleted:
// shaders and failed programs go with the context.
GLuint buildProgram(const char* vertexSource, const char* fragmentSource, const char* programName);

// Builds the window's four programs "points", "blur", "composite" and "ui", in that order and
// always all four, into the surface's program fields. False when any of them is 0.
bool buildSurfacePrograms(ScreenSurface& surface);
