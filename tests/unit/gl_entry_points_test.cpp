#include "gl/gl_functions.h"
#include "support/test_windows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <tuple>

namespace {

// The driver answers `answer` for `name` and an address for every other name; the loaded module
// knows every name unless moduleLacksName.
struct Driver {
    std::string name;
    std::intptr_t answer = 0;
    bool moduleLacksName = true;
    size_t lookups = 0;
};
Driver driver;

const PROC driverEntry = []() -> INT_PTR { return 1; };
const PROC moduleEntry = []() -> INT_PTR { return 2; };
PROC WINAPI driverLookup(LPCSTR name) {
    ++driver.lookups;
    return driver.name == name ? reinterpret_cast<PROC>(driver.answer) : driverEntry;
}
PROC moduleLookup(const char* name) {
    return driver.name == name && driver.moduleLacksName ? nullptr : moduleEntry;
}
const GlProcLookup lookup = {driverLookup, moduleLookup};

// Drivers answer 0, 1, 2, 3 or -1 for names they lack; 4 is taken as an address.
TEST(GlEntryPoints, OnlyNonAddressAnswersFallBackToTheLoadedModule) {
    for (std::intptr_t answer : {0, 1, 2, 3, -1, 4}) {
        driver = {"glUniform4f", answer, false};
        const PROC expected = answer == 4 ? reinterpret_cast<PROC>(answer) : moduleEntry;
        EXPECT_EQ(lookupGlEntryPoint(lookup, "glUniform4f"), expected) << answer;
    }
}

// In lookup order glUniform4f is the 16th of the 41 required entries, glDeleteFramebuffers the
// last; wglSwapIntervalEXT, the benchmark's two timer-query entries and the GPU reset status after
// them are optional. A load that succeeds fills every entry of the window's table that the driver has.
TEST(GlEntryPoints, TheFirstMissingRequiredEntryIsLoggedAndEndsTheLookup) {
    const std::tuple<std::string, std::string, size_t> cases[] = {
        {"", "", 45},
        {"glUniform4f", "missing glUniform4f\r\n", 16},
        {"glDeleteFramebuffers", "missing glDeleteFramebuffers\r\n", 41},
        {"wglSwapIntervalEXT", "", 45}};
    for (const auto& [name, expectedLog, lookups] : cases) {
        const std::wstring log = redirectTempDirectory();
        driver = {name};
        GlFunctions table;
        EXPECT_EQ(loadGlFunctions(table, lookup), expectedLog.empty()) << name;
        EXPECT_EQ(readLogFile(log), expectedLog);
        EXPECT_EQ(driver.lookups, lookups) << name;
        const auto* entries = reinterpret_cast<const void* const*>(&table);
        const auto missing = std::count(entries, entries + sizeof table / sizeof(void*), nullptr);
        EXPECT_TRUE(!expectedLog.empty() || missing == (name.empty() ? 0 : 1)) << missing << " left empty";
    }
}

} // namespace
