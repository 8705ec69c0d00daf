#include "support/test_windows.h"

#include "gl/gl_context.h"
#include "shell/saver_windows.h"

#include <cstdio>
#include <string>

bool openGlTestSurface(ScreenSurface& surface, int width, int height) {
    surface = ScreenSurface();
    surface.width = width;
    surface.height = height;
    surface.window = createSaverClassWindow(width, height);
    surface.dc = GetDC(surface.window);
    if (createGlContext(surface)) {
        return true;
    }
    closeSurfaceWindow(surface);
    return false;
}

std::wstring redirectTempDirectory() {
    static int counter = 0;
    // Always below the real temporary directory, never below the previous redirection.
    static std::wstring base;
    if (base.empty()) {
        wchar_t path[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, path);
        base = path;
    }
    const std::wstring folder = base + L"orvane-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                std::to_wstring(++counter) + L"\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    SetEnvironmentVariableW(L"TMP", folder.c_str());
    SetEnvironmentVariableW(L"TEMP", folder.c_str());
    // Process numbers repeat across runs: drop what an earlier run left in the same folder.
    const std::wstring log = folder + L"orvane-screensaver.log";
    DeleteFileW(log.c_str());
    RemoveDirectoryW(log.c_str());
    return log;
}

std::string readLogFile(const std::wstring& path) {
    std::string text;
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (file == nullptr) {
        return text;
    }
    char buffer[4096];
    size_t count;
    while ((count = fread(buffer, 1, sizeof buffer, file)) > 0) {
        text.append(buffer, count);
    }
    fclose(file);
    return text;
}
