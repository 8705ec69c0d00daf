#include "base/diagnostic_log.h"
#include "support/test_windows.h"

#include <gtest/gtest.h>

#include <string>

// Each message opens the file anew, as the next run of the saver does.
TEST(DiagnosticLog, AppendsOneCrlfLinePerMessage) {
    const std::wstring log = redirectTempDirectory();
    const std::string longText(10000, 'x');
    writeLog("missing %s", "glActiveTexture");
    writeLog("link %s failed: %s", "points", longText.c_str());
    EXPECT_EQ(readLogFile(log), "missing glActiveTexture\r\nlink points failed: " + longText + "\r\n");
}

// GetTempPathW's length includes the trailing backslash; at most 230 leave room for the file name.
TEST(DiagnosticLog, WritesOnlyWhenTheTemporaryPathHasAtMost230Characters) {
    const std::wstring log = redirectTempDirectory();
    const std::wstring parent = log.substr(0, log.rfind(L'\\') + 1);
    for (size_t length : {230u, 231u}) {
        const std::wstring folder = parent + std::wstring(length - parent.size() - 1, L'd') + L"\\";
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
        SetEnvironmentVariableW(L"TMP", folder.c_str()); // GetTempPathW's first choice, before TEMP
        writeLog("pixel format failed");
        EXPECT_EQ(readLogFile(folder + L"orvane-screensaver.log"),
                  length == 230 ? "pixel format failed\r\n" : "");
    }
}
