#pragma once

#include "gl/gl_api.h"

// The entry points beyond OpenGL 1.1, fetched at run time into one process-wide table.
struct GlFunctionTable {
    PfnGlCreateShader glCreateShader;
    PfnGlShaderSource glShaderSource;
    PfnGlCompileShader glCompileShader;
    PfnGlGetShaderiv glGetShaderiv;
    PfnGlGetShaderInfoLog glGetShaderInfoLog;
    PfnGlCreateProgram glCreateProgram;
    PfnGlAttachShader glAttachShader;
    PfnGlLinkProgram glLinkProgram;
    PfnGlGetProgramiv glGetProgramiv;
    PfnGlGetProgramInfoLog glGetProgramInfoLog;
    PfnGlUseProgram glUseProgram;
    PfnGlGetUniformLocation glGetUniformLocation;
    PfnGlUniform1f glUniform1f;
    PfnGlUniform2f glUniform2f;
    PfnGlUniform3f glUniform3f;
    PfnGlUniform4f glUniform4f;
    PfnGlUniform1i glUniform1i;
    PfnGlGenVertexArrays glGenVertexArrays;
    PfnGlBindVertexArray glBindVertexArray;
    PfnGlGenFramebuffers glGenFramebuffers;
    PfnGlBindFramebuffer glBindFramebuffer;
    PfnGlFramebufferTexture2D glFramebufferTexture2D;
    PfnGlCheckFramebufferStatus glCheckFramebufferStatus;
    PfnGlActiveTexture glActiveTexture;
    PfnGlGenBuffers glGenBuffers;
    PfnGlBindBuffer glBindBuffer;
    PfnGlBindBufferBase glBindBufferBase;
    PfnGlBufferData glBufferData;
    PfnGlVertexAttribPointer glVertexAttribPointer;
    PfnGlEnableVertexAttribArray glEnableVertexAttribArray;
    PfnGlTransformFeedbackVaryings glTransformFeedbackVaryings;
    PfnGlBeginTransformFeedback glBeginTransformFeedback;
    PfnGlEndTransformFeedback glEndTransformFeedback;
    PfnGlGenQueries glGenQueries;
    PfnGlBeginQuery glBeginQuery;
    PfnGlEndQuery glEndQuery;
    PfnGlGetQueryObjectuiv glGetQueryObjectuiv;
    PfnWglSwapIntervalExt wglSwapIntervalEXT; // optional
};

extern GlFunctionTable gl;

// How one name becomes an address: the driver's answer first, the loaded opengl32.dll second.
struct GlProcLookup {
    PROC(WINAPI* driverLookup)(LPCSTR name); // wglGetProcAddress
    PROC (*moduleLookup)(const char* name);  // GetProcAddress on the loaded "opengl32.dll"
};

// Resolves one entry point: answers 0, 1, 2, 3 and -1 from the driver are not addresses.
PROC lookupGlEntryPoint(const GlProcLookup& lookup, const char* name);

// Fills the table for the current context. Returns false, after logging "missing <name>", at the
// first required entry that cannot be found; later entries are not looked up then. A null answer
// never replaces an address already in the table, so windows that already render through GL keep
// working entries when a later window's lookup fails.
bool loadGlFunctions(GlFunctionTable& table, const GlProcLookup& lookup);
