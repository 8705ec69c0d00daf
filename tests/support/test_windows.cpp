#include "support/test_windows.h"

#include "gl/gl_context.h"
#include "gl/surface_setup.h"
#include "software/software_renderer.h"

#include <gdiplus.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

bool openGlTestSurface(ScreenSurface& surface, int width, int height) {
    surface = {.window = createSaverClassWindow(width, height), .width = width, .height = height};
    surface.dc = GetDC(surface.window);
    if (createGlContext(surface)) {
        return true;
    }
    closeSurfaceWindow(surface);
    return false;
}

ScreenSurface* addSaverSurface(bool gl) {
    // The software path draws through GDI+, which the saver's entry starts before any window.
    static ULONG_PTR gdiplus = 0;
    static const Gdiplus::GdiplusStartupInput input;
    [[maybe_unused]] static const auto started = Gdiplus::GdiplusStartup(&gdiplus, &input, nullptr);
    auto* surface = new ScreenSurface{.window = createSaverClassWindow(64, 48), .width = 64, .height = 48};
    if (gl) {
        initSurface(*surface);
    } else {
        surface->dc = GetDC(surface->window);
        initSoftwareSurface(*surface);
    }
    surfaces.push_back(surface);
    return surface;
}

std::wstring redirectTempDirectory() {
    // The process's own folder, emptied on every call and removed at exit: Wine reuses process
    // numbers, and a later run must not find this run's files. Read before any redirection.
    static std::error_code ignored;
    static const std::filesystem::path folder = std::filesystem::temp_directory_path(ignored) /
                                                ("orvane-test-" + std::to_string(GetCurrentProcessId()));
    [[maybe_unused]] static const int removedAtExit =
        atexit([] { std::filesystem::remove_all(folder, ignored); });
    std::filesystem::remove_all(folder, ignored);
    std::filesystem::create_directory(folder, ignored);
    SetEnvironmentVariableW(L"TMP", folder.c_str());
    SetEnvironmentVariableW(L"TEMP", folder.c_str());
    return (folder / "orvane-screensaver.log").wstring();
}

std::string readLogFile(const std::wstring& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}
