#include "gl/gl_functions.h"

#include "shell/diagnostic_log.h"

#include <cstdint>

GlFunctionTable gl = {};

namespace {

using StoreEntry = void (*)(GlFunctionTable& table, PROC address);

struct EntryPoint {
    const char* name;
    StoreEntry store;
};

template <typename Function> void storeIfFound(Function& slot, PROC address) {
    if (address != nullptr) {
        slot = procAs<Function>(address);
    }
}

#define GL_ENTRY(name)                                                                                       \
    {                                                                                                        \
#name, [](GlFunctionTable & table, PROC address) { storeIfFound(table.name, address); }              \
    }

// Required entries in lookup order; the first one missing ends the lookup.
const EntryPoint requiredEntries[] = {
    GL_ENTRY(glCreateShader),
    GL_ENTRY(glShaderSource),
    GL_ENTRY(glCompileShader),
    GL_ENTRY(glGetShaderiv),
    GL_ENTRY(glGetShaderInfoLog),
    GL_ENTRY(glCreateProgram),
    GL_ENTRY(glAttachShader),
    GL_ENTRY(glLinkProgram),
    GL_ENTRY(glGetProgramiv),
    GL_ENTRY(glGetProgramInfoLog),
    GL_ENTRY(glUseProgram),
    GL_ENTRY(glGetUniformLocation),
    GL_ENTRY(glUniform1f),
    GL_ENTRY(glUniform2f),
    GL_ENTRY(glUniform3f),
    GL_ENTRY(glUniform4f),
    GL_ENTRY(glUniform1i),
    GL_ENTRY(glGenVertexArrays),
    GL_ENTRY(glBindVertexArray),
    GL_ENTRY(glGenFramebuffers),
    GL_ENTRY(glBindFramebuffer),
    GL_ENTRY(glFramebufferTexture2D),
    GL_ENTRY(glCheckFramebufferStatus),
    GL_ENTRY(glActiveTexture),
    GL_ENTRY(glGenBuffers),
    GL_ENTRY(glBindBuffer),
    GL_ENTRY(glBindBufferBase),
    GL_ENTRY(glBufferData),
    GL_ENTRY(glVertexAttribPointer),
    GL_ENTRY(glEnableVertexAttribArray),
    GL_ENTRY(glTransformFeedbackVaryings),
    GL_ENTRY(glBeginTransformFeedback),
    GL_ENTRY(glEndTransformFeedback),
    GL_ENTRY(glGenQueries),
    GL_ENTRY(glBeginQuery),
    GL_ENTRY(glEndQuery),
    GL_ENTRY(glGetQueryObjectuiv),
};

const EntryPoint swapIntervalEntry = GL_ENTRY(wglSwapIntervalEXT);

#undef GL_ENTRY

bool isDriverNonAddress(PROC address) {
    const auto value = reinterpret_cast<std::intptr_t>(address);
    return value == 0 || value == 1 || value == 2 || value == 3 || value == -1;
}

} // namespace

PROC lookupGlEntryPoint(const GlProcLookup& lookup, const char* name) {
    PROC address = lookup.driverLookup(name);
    if (!isDriverNonAddress(address)) {
        return address;
    }
    return lookup.moduleLookup(name);
}

bool loadGlFunctions(GlFunctionTable& table, const GlProcLookup& lookup) {
    for (const EntryPoint& entry : requiredEntries) {
        PROC address = lookupGlEntryPoint(lookup, entry.name);
        if (address == nullptr) {
            writeLog("missing %s", entry.name);
            return false;
        }
        entry.store(table, address);
    }
    swapIntervalEntry.store(table, lookupGlEntryPoint(lookup, swapIntervalEntry.name));
    return true;
}
