// capture: renders one frame of the saver off screen and writes it as a PNG file.
//
//   capture [--time SECONDS] [--size WxH] [--preview] --out FILE.png
//
// The frame goes through the saver's own set-up and passes (renderGlFrame) at the given saver
// time (default 5), window size (default 1920x1080) and mode: full screen with the cards faded as
// the saver clock would have them, or preview (no cards). Under Wine, FILE is a Windows path:
// Z:\tmp\frame.png writes /tmp/frame.png. Exit code 0 on success, 1 when the frame could not be
// rendered or written, 2 on a usage error.

#include "assets/pictures.h"
#include "common/offscreen_frame.h"
#include "common/png_writer.h"

#include <windows.h>

#include <gdiplus.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

struct CaptureOptions {
    double saverTime = 5.0;
    int width = 1920;
    int height = 1080;
    bool preview = false;
    std::wstring outputPath;
};

bool parseSize(const wchar_t* text, int& width, int& height) {
    return std::swscanf(text, L"%dx%d", &width, &height) == 2 && width >= 1 && height >= 1 &&
           width <= 16384 && height <= 16384;
}

bool parseTime(const wchar_t* text, double& seconds) {
    wchar_t* end = nullptr;
    seconds = std::wcstod(text, &end);
    return end != text && *end == L'\0' && seconds >= 0.0;
}

bool parseOptions(int argc, wchar_t** argv, CaptureOptions& options) {
    for (int index = 1; index < argc; ++index) {
        const std::wstring argument = argv[index];
        const wchar_t* value = index + 1 < argc ? argv[index + 1] : nullptr;
        if (argument == L"--preview") {
            options.preview = true;
        } else if (argument == L"--time" && value != nullptr) {
            if (!parseTime(value, options.saverTime)) {
                return false;
            }
            ++index;
        } else if (argument == L"--size" && value != nullptr) {
            if (!parseSize(value, options.width, options.height)) {
                return false;
            }
            ++index;
        } else if (argument == L"--out" && value != nullptr) {
            options.outputPath = value;
            ++index;
        } else {
            return false;
        }
    }
    return !options.outputPath.empty();
}

std::vector<std::uint8_t> rgbFromRgba(const std::vector<std::uint8_t>& rgba) {
    std::vector<std::uint8_t> rgb(rgba.size() / 4 * 3);
    for (std::size_t pixel = 0; pixel < rgba.size() / 4; ++pixel) {
        rgb[pixel * 3 + 0] = rgba[pixel * 4 + 0];
        rgb[pixel * 3 + 1] = rgba[pixel * 4 + 1];
        rgb[pixel * 3 + 2] = rgba[pixel * 4 + 2];
    }
    return rgb;
}

int renderAndWrite(const CaptureOptions& options, const Pictures& pictures) {
    OffscreenFrame frame;
    if (!openOffscreenFrame(frame, options.width, options.height, pictures)) {
        std::printf("capture: no OpenGL frame (see orvane-screensaver.log in the temporary directory)\n");
        return 1;
    }
    renderOffscreenFrame(frame, passValues(options.saverTime, options.preview));
    const std::vector<std::uint8_t> rgb = rgbFromRgba(readOffscreenPixels(frame));
    closeOffscreenFrame(frame);
    if (!writePngFile(options.outputPath.c_str(), options.width, options.height, rgb.data())) {
        std::printf("capture: could not write %ls\n", options.outputPath.c_str());
        return 1;
    }
    std::printf("capture: %dx%d %s at %g s -> %ls\n", options.width, options.height,
                options.preview ? "preview" : "full screen", options.saverTime, options.outputPath.c_str());
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    CaptureOptions options;
    if (!parseOptions(argc, argv, options)) {
        std::printf("usage: capture [--time SECONDS] [--size WxH] [--preview] --out FILE.png\n");
        return 2;
    }
    // As the saver's entry: GDI+ and the pictures, then the window.
    Gdiplus::GdiplusStartupInput startupInput;
    ULONG_PTR gdiplusToken = 0;
    if (Gdiplus::GdiplusStartup(&gdiplusToken, &startupInput, nullptr) != Gdiplus::Ok) {
        std::printf("capture: GDI+ did not start\n");
        return 1;
    }
    Pictures pictures;
    decodeEmbeddedPictures(pictures);
    const int status = renderAndWrite(options, pictures);
    releaseEmbeddedPictures(pictures);
    Gdiplus::GdiplusShutdown(gdiplusToken);
    return status;
}
