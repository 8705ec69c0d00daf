#include "shell/diagnostic_log.h"
#include "support/test_windows.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(DiagnosticLog, AppendsOneCrlfLinePerMessageAcrossCalls) {
    const std::wstring log = redirectTempDirectory();
    EXPECT_EQ(readLogFile(log), "") << "nothing is written before the first message";
    writeLog("pixel format failed");
    writeLog("missing %s", "glActiveTexture");
    writeLog("shader %s failed: %s", "blur", "0:1(1): error: syntax error\n");
    EXPECT_EQ(readLogFile(log), "pixel format failed\r\n"
                                "missing glActiveTexture\r\n"
                                "shader blur failed: 0:1(1): error: syntax error\r\n\r\n");
}

TEST(DiagnosticLog, LaterRunsAppendAfterEarlierLines) {
    const std::wstring log = redirectTempDirectory();
    FILE* earlier = _wfopen(log.c_str(), L"wb");
    ASSERT_NE(earlier, nullptr);
    fputs("GL 3.3 core context not available\r\n", earlier);
    fclose(earlier);
    writeLog("GL 3.3 core context not available");
    EXPECT_EQ(readLogFile(log), "GL 3.3 core context not available\r\n"
                                "GL 3.3 core context not available\r\n");
}

TEST(DiagnosticLog, LongTextGoesThroughWhole) {
    const std::wstring log = redirectTempDirectory();
    const std::string longText(10000, 'x');
    writeLog("link %s failed: %s", "points", longText.c_str());
    EXPECT_EQ(readLogFile(log), "link points failed: " + longText + "\r\n");
}

TEST(DiagnosticLog, SilentWhenTheTemporaryPathIsTooLong) {
    // 231 characters including the trailing backslash: one more than the log allows.
    const std::wstring base = redirectTempDirectory();
    std::wstring folder = base.substr(0, base.rfind(L'\\') + 1);
    while (folder.size() < 231) {
        const size_t room = 231 - folder.size();
        const std::wstring part(room > 60 ? 59 : room - 1, L'd');
        folder += part + L"\\";
        CreateDirectoryW(folder.c_str(), nullptr);
    }
    ASSERT_EQ(folder.size(), 231u);
    SetEnvironmentVariableW(L"TMP", folder.c_str());
    SetEnvironmentVariableW(L"TEMP", folder.c_str());
    writeLog("pixel format failed");
    EXPECT_EQ(GetFileAttributesW((folder + L"orvane-screensaver.log").c_str()), INVALID_FILE_ATTRIBUTES);

    // At exactly 230 characters the line is written.
    const std::wstring shorter = folder.substr(0, folder.size() - 2) + L"\\";
    ASSERT_EQ(shorter.size(), 230u);
    CreateDirectoryW(shorter.c_str(), nullptr);
    DeleteFileW((shorter + L"orvane-screensaver.log").c_str());
    SetEnvironmentVariableW(L"TMP", shorter.c_str());
    SetEnvironmentVariableW(L"TEMP", shorter.c_str());
    writeLog("pixel format failed");
    EXPECT_EQ(readLogFile(shorter + L"orvane-screensaver.log"), "pixel format failed\r\n");
}

TEST(DiagnosticLog, SilentWhenTheFileCannotBeOpened) {
    const std::wstring log = redirectTempDirectory();
    // A directory in the file's place cannot be opened for appending.
    ASSERT_TRUE(CreateDirectoryW(log.c_str(), nullptr));
    writeLog("pixel format failed");
    EXPECT_NE(GetFileAttributesW(log.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

} // namespace
