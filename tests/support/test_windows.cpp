#include "support/test_windows.h"

#include "base/layout.h"
#include "gl/gl_context.h"
#include "shell/saver_window.h"

#include <gdiplus.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

bool openGlTestContext(OffscreenFrame& frame, int width, int height) {
    if (openOffscreenWindow(frame, width, height) &&
        createGlContext(frame.surface.dc, frame.renderer.context, frame.renderer.gl)) {
        return true;
    }
    closeOffscreenFrame(frame);
    return false;
}

const Pictures& testPictures() {
    static ULONG_PTR token = 0;
    static const Gdiplus::GdiplusStartupInput input;
    static Pictures pictures;
    [[maybe_unused]] static const bool decoded = [] {
        Gdiplus::GdiplusStartup(&token, &input, nullptr);
        decodeEmbeddedPictures(pictures);
        return true;
    }();
    return pictures;
}

Saver testSaver(bool preview) {
    [[maybe_unused]] static const bool registered = (registerSaverClass(GetModuleHandleW(nullptr)), true);
    Saver saver;
    saver.instance = GetModuleHandleW(nullptr);
    saver.preview = preview;
    saver.clock = startSaverClock();
    saver.pictures = testPictures();
    return saver;
}

SaverWindow* addSaverWindow(Saver& saver, bool gl, int width, int height) {
    SaverWindow* window = saver.windows.emplace_back(
        createSaverWindow(saver, {0, WS_POPUP, L"Orvane test", {0, 0, width, height}}));
    if (gl) {
        setUpSaverWindow(saver, window);
        return window;
    }
    // The software path as after a failed GL set-up.
    window->surface.dc = GetDC(window->surface.window);
    window->surface.scale = layoutScale(width, height);
    window->software = new SoftwareRenderer();
    createSoftwareRenderer(*window->software, window->surface, saver.pictures, saver.preview);
    return window;
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
