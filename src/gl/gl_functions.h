#pragma once

#include "gl/gl_api.h"

// The entry points beyond OpenGL 1.1 of one GL renderer. Addresses from wglGetProcAddress belong
// to the pixel format and driver of the context they were fetched with, so every window's context
// has a table of its own: monitors on two GPUs each call their own driver.
struct GlFunctions {
#define ORVANE_GL_FIELD(result, name, parameters) result(WINAPI* name) parameters = nullptr;
    ORVANE_GL_ENTRY_POINTS(ORVANE_GL_FIELD)
    ORVANE_GL_OPTIONAL_ENTRY_POINTS(ORVANE_GL_FIELD)
#undef ORVANE_GL_FIELD
};

// How one name becomes an address: the driver's answer first, the loaded opengl32.dll second.
struct GlProcLookup {
    PROC(WINAPI* driverLookup)(LPCSTR name); // wglGetProcAddress
    PROC (*moduleLookup)(const char* name);  // GetProcAddress on the loaded "opengl32.dll"
};

// Resolves one entry point: answers 0, 1, 2, 3 and -1 from the driver are not addresses.
PROC lookupGlEntryPoint(const GlProcLookup& lookup, const char* name);

// Fills the table for the current context. Returns false, after logging "missing <name>", at the
// first required entry that cannot be found; later entries are not looked up then.
bool loadGlFunctions(GlFunctions& table, const GlProcLookup& lookup);
