#pragma once

#include "gl/gl_functions.h"

// Compiles both stages and links them into one program on the current context. Compile and link
// errors go to the diagnostic log under programName ("shader <name> failed: <log>", "link <name>
// failed: <log>"). Returns the program, or 0 when any step failed. Nothing is detached or deleted:
// shaders and failed programs go with the context.
GLuint buildProgram(const GlFunctions& gl, const char* vertexSource, const char* fragmentSource,
                    const char* programName);

// A vertex stage alone, whose outputs (in this order, interleaved) are recorded by transform
// feedback; errors are logged as for buildProgram.
GLuint buildFeedbackProgram(const GlFunctions& gl, const char* vertexSource, const char* const* outputs,
                            GLsizei outputCount, const char* programName);
