#include "gl/gl_functions.h"

#include "base/diagnostic_log.h"

#include <cstdint>

namespace {

bool isDriverNonAddress(PROC address) {
    const auto value = reinterpret_cast<std::intptr_t>(address);
    return value == 0 || value == 1 || value == 2 || value == 3 || value == -1;
}

template <typename Function> bool loadRequired(Function& slot, const GlProcLookup& lookup, const char* name) {
    const PROC address = lookupGlEntryPoint(lookup, name);
    if (address == nullptr) {
        writeLog("missing %s", name);
        return false;
    }
    slot = procAs<Function>(address);
    return true;
}

} // namespace

PROC lookupGlEntryPoint(const GlProcLookup& lookup, const char* name) {
    PROC address = lookup.driverLookup(name);
    if (!isDriverNonAddress(address)) {
        return address;
    }
    return lookup.moduleLookup(name);
}

bool loadGlFunctions(GlFunctions& table, const GlProcLookup& lookup) {
#define ORVANE_GL_REQUIRED(result, name, parameters)                                                         \
    if (!loadRequired(table.name, lookup, #name)) {                                                          \
        return false;                                                                                        \
    }
    ORVANE_GL_ENTRY_POINTS(ORVANE_GL_REQUIRED)
#undef ORVANE_GL_REQUIRED
#define ORVANE_GL_OPTIONAL(result, name, parameters)                                                         \
    table.name = procAs<decltype(table.name)>(lookupGlEntryPoint(lookup, #name));
    ORVANE_GL_OPTIONAL_ENTRY_POINTS(ORVANE_GL_OPTIONAL)
#undef ORVANE_GL_OPTIONAL
    return true;
}
