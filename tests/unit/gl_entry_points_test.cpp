#include "gl/gl_functions.h"
#include "support/test_windows.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

// An injected lookup: the driver answers by name from a script, the module fallback records calls.
struct ScriptedDriver {
    std::string oddName; // the name for which the driver gives oddAnswer
    std::intptr_t oddAnswer = 0;
    std::string moduleMissing; // the name the loaded opengl32.dll does not export
    std::vector<std::string> driverCalls;
    std::vector<std::string> moduleCalls;
};
ScriptedDriver driver;

void fakeEntry() {}
void fakeModuleEntry() {}

PROC fakeAddress() {
    return reinterpret_cast<PROC>(reinterpret_cast<void (*)()>(&fakeEntry));
}
PROC fakeModuleAddress() {
    return reinterpret_cast<PROC>(reinterpret_cast<void (*)()>(&fakeModuleEntry));
}

PROC WINAPI scriptedDriverLookup(LPCSTR name) {
    driver.driverCalls.push_back(name);
    if (driver.oddName == name) {
        return reinterpret_cast<PROC>(driver.oddAnswer);
    }
    return fakeAddress();
}

PROC scriptedModuleLookup(const char* name) {
    driver.moduleCalls.push_back(name);
    return driver.moduleMissing == name ? nullptr : fakeModuleAddress();
}

const GlProcLookup scripted = {scriptedDriverLookup, scriptedModuleLookup};

TEST(GlEntryPoints, DriverAnswersThatAreNoAddressFallBackToTheLoadedModule) {
    for (std::intptr_t answer : {0, 1, 2, 3, -1}) {
        driver = ScriptedDriver{"glUniform4f", answer, "", {}, {}};
        EXPECT_EQ(lookupGlEntryPoint(scripted, "glUniform4f"), fakeModuleAddress()) << answer;
        EXPECT_EQ(driver.moduleCalls, std::vector<std::string>{"glUniform4f"}) << answer;
    }
    // 4 is an address as far as the rule goes: no fallback.
    driver = ScriptedDriver{"glUniform4f", 4, "", {}, {}};
    EXPECT_EQ(reinterpret_cast<std::intptr_t>(lookupGlEntryPoint(scripted, "glUniform4f")), 4);
    EXPECT_TRUE(driver.moduleCalls.empty());
}

TEST(GlEntryPoints, AllFoundFillsEveryEntryWithoutALogLine) {
    const std::wstring log = redirectTempDirectory();
    driver = ScriptedDriver{};
    GlFunctionTable table = {};
    EXPECT_TRUE(loadGlFunctions(table, scripted));
    EXPECT_EQ(driver.driverCalls.size(), 24u);
    EXPECT_EQ(driver.driverCalls.front(), "glCreateShader");
    EXPECT_EQ(driver.driverCalls[22], "glActiveTexture");
    EXPECT_EQ(driver.driverCalls.back(), "wglSwapIntervalEXT");
    const auto* entries = reinterpret_cast<const void* const*>(&table);
    for (size_t i = 0; i < sizeof(table) / sizeof(void*); ++i) {
        EXPECT_NE(entries[i], nullptr) << i;
    }
    EXPECT_EQ(readLogFile(log), "");
}

TEST(GlEntryPoints, TheFirstMissingEntryIsLoggedOnceAndStopsTheLookup) {
    const std::wstring log = redirectTempDirectory();
    driver = ScriptedDriver{"glUniform4f", 0, "glUniform4f", {}, {}};
    GlFunctionTable table = {};
    EXPECT_FALSE(loadGlFunctions(table, scripted));
    EXPECT_EQ(readLogFile(log), "missing glUniform4f\r\n");
    EXPECT_EQ(driver.driverCalls.back(), "glUniform4f") << "later entries are not looked up";
    EXPECT_EQ(driver.driverCalls.size(), 15u);
    EXPECT_NE(table.glUniform2f, nullptr);
    EXPECT_EQ(table.glUniform4f, nullptr);
    EXPECT_EQ(table.glUniform1i, nullptr);
    EXPECT_EQ(table.wglSwapIntervalEXT, nullptr);
}

TEST(GlEntryPoints, MissingLastRequiredEntryAndNoModuleGiveOneLine) {
    for (std::intptr_t answer : {0, 1, 2, 3, -1}) {
        const std::wstring log = redirectTempDirectory();
        driver = ScriptedDriver{"glActiveTexture", answer, "glActiveTexture", {}, {}};
        GlFunctionTable table = {};
        EXPECT_FALSE(loadGlFunctions(table, scripted));
        EXPECT_EQ(readLogFile(log), "missing glActiveTexture\r\n") << answer;
    }
}

TEST(GlEntryPoints, TheSwapIntervalEntryIsOptional) {
    const std::wstring log = redirectTempDirectory();
    driver = ScriptedDriver{"wglSwapIntervalEXT", 0, "wglSwapIntervalEXT", {}, {}};
    GlFunctionTable table = {};
    EXPECT_TRUE(loadGlFunctions(table, scripted));
    EXPECT_EQ(table.wglSwapIntervalEXT, nullptr);
    EXPECT_NE(table.glActiveTexture, nullptr);
    EXPECT_EQ(readLogFile(log), "");
}

TEST(GlEntryPoints, ALaterWindowsFailedLookupKeepsTheEntriesRunningWindowsUse) {
    driver = ScriptedDriver{};
    GlFunctionTable table = {};
    ASSERT_TRUE(loadGlFunctions(table, scripted));
    const GlFunctionTable filled = table;

    redirectTempDirectory();
    driver = ScriptedDriver{"glCreateShader", 0, "glCreateShader", {}, {}};
    EXPECT_FALSE(loadGlFunctions(table, scripted));
    driver = ScriptedDriver{"wglSwapIntervalEXT", 0, "wglSwapIntervalEXT", {}, {}};
    EXPECT_TRUE(loadGlFunctions(table, scripted));
    EXPECT_EQ(table.glCreateShader, filled.glCreateShader);
    EXPECT_EQ(table.glActiveTexture, filled.glActiveTexture);
    EXPECT_EQ(table.wglSwapIntervalEXT, filled.wglSwapIntervalEXT);
}

} // namespace
