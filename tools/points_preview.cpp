// points_preview: the point pass on its own, off screen.
//
//   points_preview [--size WxH] [--out PREFIX] [--exposure E] TIME...
//       one PNG per saver time, named PREFIX-TIME.png (default size 1920x1080, PREFIX "points").
//       Tone mapping is deliberately simple: linear value times the exposure, clamped to [0, 1],
//       then encoded with the sRGB curve. No bloom, background or cards.
//       The pass is the saver's own, into the window's point target (at most 1440 rows); the
//       benchmark tool times it.
//
// Paths are Windows paths under Wine: Z:\tmp\points writes /tmp/points-TIME.png.

#include "common/offscreen_frame.h"
#include "common/png_writer.h"

#include <windows.h>

#include <gdiplus.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Options {
    int width = 1920;
    int height = 1080;
    float exposure = 1.0f;
    std::string prefix = "points";
    std::vector<double> times;
};

bool parseOptions(int argc, char** argv, Options& options) {
    for (int index = 1; index < argc; ++index) {
        const std::string argument = argv[index];
        const bool hasValue = index + 1 < argc;
        if (argument == "--size" && hasValue) {
            if (std::sscanf(argv[++index], "%dx%d", &options.width, &options.height) != 2 ||
                options.width < 1 || options.height < 1) {
                return false;
            }
        } else if (argument == "--out" && hasValue) {
            options.prefix = argv[++index];
        } else if (argument == "--exposure" && hasValue) {
            options.exposure = static_cast<float>(std::atof(argv[++index]));
        } else if (!argument.empty() && argument[0] != '-') {
            options.times.push_back(std::atof(argument.c_str()));
        } else {
            return false;
        }
    }
    return !options.times.empty();
}

std::uint8_t toneMapped(float linear, float exposure) {
    const float clamped = std::min(std::max(linear * exposure, 0.0f), 1.0f);
    const float encoded =
        clamped <= 0.0031308f ? clamped * 12.92f : 1.055f * std::pow(clamped, 1.0f / 2.4f) - 0.055f;
    return static_cast<std::uint8_t>(std::lround(encoded * 255.0f));
}

bool writePreview(const Options& options, const std::vector<float>& rgba, double saverTime) {
    const std::size_t pixels =
        static_cast<std::size_t>(options.width) * static_cast<std::size_t>(options.height);
    std::vector<std::uint8_t> rgb(pixels * 3);
    double total = 0.0;
    float brightest = 0.0f;
    for (std::size_t pixel = 0; pixel < pixels; ++pixel) {
        for (int channel = 0; channel < 3; ++channel) {
            const float value = rgba[pixel * 4 + static_cast<std::size_t>(channel)];
            rgb[pixel * 3 + static_cast<std::size_t>(channel)] = toneMapped(value, options.exposure);
            total += value;
            brightest = std::max(brightest, value);
        }
    }
    char name[32];
    std::snprintf(name, sizeof name, "%g", saverTime);
    const std::string path = options.prefix + "-" + name + ".png";
    const std::wstring widePath(path.begin(), path.end());
    const bool written = writePngFile(widePath.c_str(), options.width, options.height, rgb.data());
    std::printf("%s %s: total light %.1f, brightest channel %.3f\n", written ? "wrote" : "FAILED to write",
                path.c_str(), total, static_cast<double>(brightest));
    return written;
}

// The point target's RGBA values, top row first (rows turned round from GL's bottom-up order).
std::vector<float> readPointTarget(const GlRenderer& renderer) {
    const RenderTarget& scene = renderer.scene;
    const std::size_t rowFloats = static_cast<std::size_t>(scene.width) * 4;
    std::vector<float> bottomUp(rowFloats * static_cast<std::size_t>(scene.height));
    renderer.gl.glBindFramebuffer(GL_FRAMEBUFFER, scene.framebuffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, scene.width, scene.height, GL_RGBA, GL_FLOAT, bottomUp.data());
    std::vector<float> topDown(bottomUp.size());
    for (int row = 0; row < scene.height; ++row) {
        const std::size_t from = static_cast<std::size_t>(scene.height - 1 - row) * rowFloats;
        std::memcpy(&topDown[static_cast<std::size_t>(row) * rowFloats], &bottomUp[from],
                    rowFloats * sizeof(float));
    }
    return topDown;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::printf("usage: points_preview [--size WxH] [--out PREFIX] [--exposure E] TIME...\n");
        return 2;
    }
    OffscreenFrame frame;
    // The point pass needs no pictures.
    if (!openOffscreenFrame(frame, options.width, options.height, Pictures())) {
        std::printf("the OpenGL set-up failed; see orvane-screensaver.log in the temporary directory\n");
        return 1;
    }
    options.width = frame.renderer.scene.width;
    options.height = frame.renderer.scene.height;
    Gdiplus::GdiplusStartupInput startupInput;
    ULONG_PTR gdiplusToken = 0;
    Gdiplus::GdiplusStartup(&gdiplusToken, &startupInput, nullptr);
    int status = 0;
    for (double saverTime : options.times) {
        const PassValues pass = passValues(saverTime, false);
        glFramePasses[pointsPass].draw(frame.renderer, {frame.surface, pass, 0});
        if (!writePreview(options, readPointTarget(frame.renderer), saverTime)) {
            status = 1;
        }
    }
    Gdiplus::GdiplusShutdown(gdiplusToken);
    closeOffscreenFrame(frame);
    return status;
}
