// points_preview: the point pass on its own, off screen.
//
//   points_preview [--size WxH] [--out PREFIX] [--exposure E] TIME...
//       one PNG per saver time, named PREFIX-TIME.png (default size 1920x1080, PREFIX "points").
//       Tone mapping is deliberately simple: linear value times the exposure, clamped to [0, 1],
//       then encoded with the sRGB curve. No bloom, background or cards.
//   points_preview --bench RUNS [--size WxH] TIME
//       times, RUNS times each: building "points" (compile and link), the first pass of each
//       fresh program (which includes the driver's code generation), and the steady pass; every
//       pass is bounded by glFinish. Prints each run and the medians in milliseconds.
//
// Paths are Windows paths under Wine: Z:\tmp\points writes /tmp/points-TIME.png.

#include "common/stopwatch.h"
#include "common/png_writer.h"
#include "common/points_pass.h"
#include "gl/gl_context.h"
#include "gl/gl_functions.h"
#include "gl/program_builder.h"
#include "shaders/shader_sources.h"
#include "shell/screen_surface.h"

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
    int benchRuns = 0;
    std::string prefix = "points";
    std::vector<float> times;
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
        } else if (argument == "--bench" && hasValue) {
            options.benchRuns = std::atoi(argv[++index]);
        } else if (!argument.empty() && argument[0] != '-') {
            options.times.push_back(static_cast<float>(std::atof(argument.c_str())));
        } else {
            return false;
        }
    }
    return !options.times.empty();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : 0.5 * (values[middle - 1] + values[middle]);
}

std::uint8_t toneMapped(float linear, float exposure) {
    const float clamped = std::min(std::max(linear * exposure, 0.0f), 1.0f);
    const float encoded =
        clamped <= 0.0031308f ? clamped * 12.92f : 1.055f * std::pow(clamped, 1.0f / 2.4f) - 0.055f;
    return static_cast<std::uint8_t>(std::lround(encoded * 255.0f));
}

bool writePreview(const Options& options, const std::vector<float>& rgba, float saverTime) {
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
    std::snprintf(name, sizeof name, "%g", static_cast<double>(saverTime));
    const std::string path = options.prefix + "-" + name + ".png";
    const std::wstring widePath(path.begin(), path.end());
    const bool written = writePngFile(widePath.c_str(), options.width, options.height, rgb.data());
    std::printf("%s %s: total light %.1f, brightest channel %.3f\n", written ? "wrote" : "FAILED to write",
                path.c_str(), total, static_cast<double>(brightest));
    return written;
}

void benchmark(const Options& options, const PointsTarget& target, GLuint vertexArray) {
    const float saverTime = options.times.front();
    std::vector<double> builds;
    std::vector<double> firstPasses;
    std::vector<double> passes;
    for (int run = 0; run < options.benchRuns; ++run) {
        glFinish();
        const double start = secondsNow();
        const GLuint program = buildProgram(pointsVertexSource, pointsFragmentSource, "points");
        const double built = secondsNow();
        drawPointsPass(target, program, vertexArray, saverTime);
        glFinish();
        const double firstDrawn = secondsNow();
        builds.push_back((built - start) * 1000.0);
        firstPasses.push_back((firstDrawn - built) * 1000.0);
        std::printf("run %d: build %.1f ms, first pass %.1f ms\n", run + 1, builds.back(),
                    firstPasses.back());
        for (int frame = 0; frame < 5; ++frame) {
            const double frameStart = secondsNow();
            drawPointsPass(target, program, vertexArray, saverTime);
            glFinish();
            passes.push_back((secondsNow() - frameStart) * 1000.0);
        }
    }
    std::printf(
        "median of %d: build \"points\" %.1f ms, first pass %.1f ms, pass %.1f ms (%d passes) at %dx%d, "
        "uT %g\n",
        options.benchRuns, median(builds), median(firstPasses), median(passes),
        static_cast<int>(passes.size()), options.width, options.height, static_cast<double>(saverTime));
}

HWND createHiddenWindow() {
    WNDCLASSW windowClass = {};
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"OrvanePointsPreview";
    RegisterClassW(&windowClass);
    return CreateWindowExW(0, windowClass.lpszClassName, L"points preview", WS_POPUP, 0, 0, 16, 16, nullptr,
                           nullptr, windowClass.hInstance, nullptr);
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::printf("usage: points_preview [--size WxH] [--out PREFIX] [--exposure E] TIME...\n"
                    "       points_preview --bench RUNS [--size WxH] TIME\n");
        return 2;
    }
    ScreenSurface surface;
    surface.window = createHiddenWindow();
    surface.dc = GetDC(surface.window);
    if (!createGlContext(surface)) {
        std::printf("no OpenGL 3.3 core context\n");
        return 1;
    }
    GLuint vertexArray = 0;
    gl.glGenVertexArrays(1, &vertexArray);
    PointsTarget target;
    if (!createPointsTarget(target, options.width, options.height)) {
        std::printf("the half-float target is not complete\n");
        return 1;
    }
    int status = 0;
    if (options.benchRuns > 0) {
        benchmark(options, target, vertexArray);
    } else {
        const GLuint program = buildProgram(pointsVertexSource, pointsFragmentSource, "points");
        if (program == 0) {
            std::printf("\"points\" did not build; see orvane-screensaver.log in the temporary directory\n");
            return 1;
        }
        Gdiplus::GdiplusStartupInput startupInput;
        ULONG_PTR gdiplusToken = 0;
        Gdiplus::GdiplusStartup(&gdiplusToken, &startupInput, nullptr);
        for (float saverTime : options.times) {
            drawPointsPass(target, program, vertexArray, saverTime);
            if (!writePreview(options, readPointsTarget(target), saverTime)) {
                status = 1;
            }
        }
        Gdiplus::GdiplusShutdown(gdiplusToken);
    }
    releaseGlContext(surface);
    ReleaseDC(surface.window, surface.dc);
    DestroyWindow(surface.window);
    return status;
}
