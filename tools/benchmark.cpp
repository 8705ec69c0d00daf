// benchmark: times the saver's frame off screen, pass by pass, and its start-up.
//
//   benchmark [--size WxH] [--frames N] [--start SECONDS] [--preview]
//
// Sets up like the saver (GDI+ and the pictures, then the GL renderer's set-up stages one by one),
// draws the first frame at the start time (default 2 s), then N more frames (default 300) in
// 1/60 s steps through the very pass table the saver's frame walks, with a GL_TIME_ELAPSED query
// around each pass and glFinish around the whole frame; in between, N/5 frames (at least
// 10, or N when N is smaller) with glFinish around every pass as well. Prints per pass the GPU
// time (median, 90th percentile) and the wall time, the whole frame's wall time, and the start-up
// from process creation to the first finished frame, split by stage. Timer queries that are
// missing, too coarse or implausible are named as such instead of printed; on llvmpipe they are
// the rasteriser's CPU time. Exit code 0, 1 when the GL set-up failed, 2 on a usage error.

#include "common/offscreen_frame.h"
#include "common/stopwatch.h"

#include <windows.h>

#include <gdiplus.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr GLenum textureInternalFormat = 0x1003; // GL_TEXTURE_INTERNAL_FORMAT

struct BenchmarkOptions {
    int width = 1920;
    int height = 1080;
    int frames = 300;
    double startTime = 2.0;
    bool preview = false;
};

constexpr int glSetupStageCount = static_cast<int>(std::size(glSetupStages));

// Start-up stages in the saver's order, in seconds.
struct StartupTimes {
    double beforeMain = 0.0;                 // process creation to the first line of wmain
    double pictures = 0.0;                   // GDI+ start-up and decoding the pictures
    double glStages[glSetupStageCount] = {}; // the GL renderer's set-up stages
    double firstFrame = 0.0;                 // the first frame, to glFinish (driver code generation)
};

struct Series {
    std::vector<double> passGpuMs[glFramePassCount];  // timer queries
    std::vector<double> passWallMs[glFramePassCount]; // glFinish before and after the pass
    std::vector<double> frameMs;                      // whole frames, glFinish before and after
};

// Seconds from this process's creation (as the kernel recorded it) to now.
double secondsSinceProcessCreation() {
    FILETIME creation = {};
    FILETIME exitTime = {};
    FILETIME kernel = {};
    FILETIME user = {};
    FILETIME now = {};
    GetProcessTimes(GetCurrentProcess(), &creation, &exitTime, &kernel, &user);
    GetSystemTimePreciseAsFileTime(&now);
    const auto ticks = [](const FILETIME& time) {
        return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    // FILETIME counts 100 ns ticks.
    return static_cast<double>(static_cast<std::int64_t>(ticks(now) - ticks(creation))) * 1e-7;
}

bool parseOptions(int argc, wchar_t** argv, BenchmarkOptions& options) {
    for (int index = 1; index < argc; ++index) {
        const std::wstring argument = argv[index];
        if (argument == L"--preview") {
            options.preview = true;
            continue;
        }
        const wchar_t* value = index + 1 < argc ? argv[++index] : nullptr;
        bool valid = false;
        if (value == nullptr) {
            return false;
        }
        if (argument == L"--size") {
            valid = std::swscanf(value, L"%dx%d", &options.width, &options.height) == 2 &&
                    options.width >= 1 && options.height >= 1 && options.width <= 16384 &&
                    options.height <= 16384;
        } else if (argument == L"--frames") {
            valid = std::swscanf(value, L"%d", &options.frames) == 1 && options.frames >= 1;
        } else if (argument == L"--start") {
            valid = std::swscanf(value, L"%lf", &options.startTime) == 1 && options.startTime >= 0.0;
        }
        if (!valid) {
            return false;
        }
    }
    return true;
}

// The timer-query counter's bits: 0 when the driver cannot time passes.
GLint timerQueryBits(const GlFunctions& gl) {
    GLint bits = 0;
    if (gl.glGetQueryiv != nullptr && gl.glGetQueryObjectui64v != nullptr) {
        gl.glGetQueryiv(GL_TIME_ELAPSED, GL_QUERY_COUNTER_BITS, &bits);
    }
    return bits;
}

// Per-pass timing of one frame: a GL_TIME_ELAPSED query around each pass when the driver has
// them, and optionally the pass's own wall time with glFinish before and after it.
struct PassTimer {
    bool timed = false;
    GLuint queryNames[glFramePassCount] = {};
    bool finishEachPass = false;
    double wallMs[glFramePassCount] = {};
};

// The passes of the saver's frame, from its own table; the card pass is left out in preview, as
// the saver does.
void drawTimedFrame(const OffscreenFrame& frame, const GlFrameInput& input, PassTimer& timer) {
    const GlFunctions& gl = frame.renderer.gl;
    for (int pass = 0; pass < glFramePassCount; ++pass) {
        const GlFramePass& step = glFramePasses[pass];
        if (step.drawn != nullptr && !step.drawn(input)) {
            continue;
        }
        if (timer.finishEachPass) {
            glFinish();
        }
        const double start = secondsNow();
        if (timer.timed) {
            gl.glBeginQuery(GL_TIME_ELAPSED, timer.queryNames[pass]);
        }
        step.draw(frame.renderer, input);
        if (timer.timed) {
            gl.glEndQuery(GL_TIME_ELAPSED);
        }
        if (timer.finishEachPass) {
            glFinish();
            timer.wallMs[pass] = (secondsNow() - start) * 1000.0;
        }
    }
}

bool passDrawn(int pass, const BenchmarkOptions& options) {
    return pass != cardsPass || !options.preview;
}

// Whole frames at start + 1/60, start + 2/60, ..., each bounded by glFinish, with the passes'
// timer queries read afterwards. After every few of them one more frame at the same time with
// glFinish around every pass too, for the passes' wall times (a fifth as many, but at least 10
// when there are that many); interleaved, so that both series see the same machine load.
// Those frames keep the driver from overlapping passes, so they do not count as whole frames.
Series runFrames(const OffscreenFrame& frame, const BenchmarkOptions& options) {
    const GlFunctions& gl = frame.renderer.gl;
    PassTimer timer;
    timer.timed = timerQueryBits(gl) > 0;
    if (timer.timed) {
        gl.glGenQueries(glFramePassCount, timer.queryNames);
    }
    const int wallFrames = std::max(10, options.frames / 5);
    const int wallEvery = std::max(1, options.frames / wallFrames);
    Series series;
    for (int index = 1; index <= options.frames; ++index) {
        const PassValues pass = passValues(options.startTime + index * passPeriod, options.preview);
        const GlFrameInput input = {frame.surface, pass, frame.output.framebuffer};
        timer.finishEachPass = false;
        glFinish();
        const double start = secondsNow();
        drawTimedFrame(frame, input, timer);
        glFinish();
        series.frameMs.push_back((secondsNow() - start) * 1000.0);
        for (int step = 0; step < glFramePassCount && timer.timed; ++step) {
            if (passDrawn(step, options)) {
                GLuint64 nanoseconds = 0;
                gl.glGetQueryObjectui64v(timer.queryNames[step], GL_QUERY_RESULT, &nanoseconds);
                series.passGpuMs[step].push_back(static_cast<double>(nanoseconds) * 1e-6);
            }
        }
        const int wallDone = static_cast<int>(series.passWallMs[pointsPass].size());
        if (index % wallEvery == 0 && wallDone < wallFrames) {
            timer.finishEachPass = true;
            drawTimedFrame(frame, input, timer);
            for (int step = 0; step < glFramePassCount; ++step) {
                if (passDrawn(step, options)) {
                    series.passWallMs[step].push_back(timer.wallMs[step]);
                }
            }
        }
    }
    return series;
}

// Nearest-rank percentile (0 < fraction <= 1) of a copy of the values.
double percentile(std::vector<double> values, double fraction) {
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    std::size_t rank = static_cast<std::size_t>(fraction * static_cast<double>(values.size()) + 0.999999);
    rank = std::clamp<std::size_t>(rank, 1, values.size());
    return values[rank - 1];
}

// Why no pass time from the queries can be trusted, or an empty string. A GPU pass cannot take
// longer than the whole frame's wall time, and a clock that reads zero for real work is too coarse.
std::string timerQueryProblem(const GlFunctions& gl, const Series& series) {
    if (gl.glGetQueryiv == nullptr || gl.glGetQueryObjectui64v == nullptr) {
        return "the driver has no timer-query entry points";
    }
    if (timerQueryBits(gl) <= 0) {
        return "the driver's GL_TIME_ELAPSED counter has 0 bits (timer queries unsupported)";
    }
    const std::vector<double>& points = series.passGpuMs[pointsPass];
    if (std::count(points.begin(), points.end(), 0.0) * 10 > static_cast<long long>(points.size())) {
        return "the points pass often reads 0 ns: the timer is too coarse";
    }
    double passSum = 0.0;
    for (const std::vector<double>& values : series.passGpuMs) {
        passSum += percentile(values, 0.5);
    }
    const double frameMedian = percentile(series.frameMs, 0.5);
    if (passSum > frameMedian * 1.25) {
        char text[200];
        std::snprintf(
            text, sizeof text,
            "the passes' GPU medians add up to %.1f ms, more than the whole frame's %.1f ms of wall "
            "time",
            passSum, frameMedian);
        return text;
    }
    return std::string();
}

// A pass whose query and own wall time disagree by more than 1 ms and by more than half: the wall
// time also holds the driver's submission and the glFinish, but no more than that.
bool queryDisagrees(double gpuMs, double wallMs) {
    const double gap = gpuMs > wallMs ? gpuMs - wallMs : wallMs - gpuMs;
    return gap > 1.0 && gap > 0.5 * wallMs;
}

const char* glString(GLenum name) {
    const auto* text = reinterpret_cast<const char*>(glGetString(name));
    return text != nullptr ? text : "?";
}

const char* sceneTargetFormat(const OffscreenFrame& frame) {
    GLint format = 0;
    glBindTexture(GL_TEXTURE_2D, frame.renderer.scene.texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, textureInternalFormat, &format);
    return format == GL_RGBA16F ? "half-float" : format == GL_RGBA8 ? "8-bit" : "other";
}

// One figure of the report again as a tab-separated line "figure TABLE NAME VALUE", for scripts
// (scripts/benchmark_table.py): the report's layout is for people and may change, these lines keep
// their form. "-" stands for a pass the run did not draw.
void printFigure(const char* table, const char* name, double value, bool present = true) {
    if (present) {
        std::printf("figure\t%s\t%s\t%.3f\n", table, name, value);
    } else {
        std::printf("figure\t%s\t%s\t-\n", table, name);
    }
}

void printReport(const OffscreenFrame& frame, const BenchmarkOptions& options, const Series& series,
                 const StartupTimes& startup) {
    const GlRenderer& renderer = frame.renderer;
    std::printf("Orvane benchmark: %dx%d %s, %d frames from %.3f s in 1/60 s steps\n", options.width,
                options.height, options.preview ? "preview" : "full screen", options.frames,
                options.startTime);
    std::printf("renderer: %s | %s\n", glString(GL_RENDERER), glString(GL_VERSION));
    std::printf("targets: points %dx%d, blur 2 x %dx%d, %s\n\n", renderer.scene.width, renderer.scene.height,
                renderer.bloomA.width, renderer.bloomA.height, sceneTargetFormat(frame));

    const std::string problem = timerQueryProblem(renderer.gl, series);
    const double frameMedian = percentile(series.frameMs, 0.5);
    std::printf("%-32s %11s %11s %12s %9s\n", "per pass", "GPU median", "GPU p90", "wall median", "share");
    double wallSum = 0.0;
    for (const std::vector<double>& values : series.passWallMs) {
        wallSum += percentile(values, 0.5);
    }
    bool anyDisagreement = false;
    for (int pass = 0; pass < glFramePassCount; ++pass) {
        const char* name = glFramePasses[pass].name;
        if (!passDrawn(pass, options)) {
            std::printf("  %-30s %11s %11s %12s %9s\n", name, "-", "-", "-", "-");
            continue;
        }
        const double wall = percentile(series.passWallMs[pass], 0.5);
        char gpuMedian[16] = "n/a";
        char gpuP90[16] = "n/a";
        const char* mark = " ";
        if (problem.empty()) {
            const double gpu = percentile(series.passGpuMs[pass], 0.5);
            std::snprintf(gpuMedian, sizeof gpuMedian, "%.2f", gpu);
            std::snprintf(gpuP90, sizeof gpuP90, "%.2f", percentile(series.passGpuMs[pass], 0.9));
            if (queryDisagrees(gpu, wall)) {
                mark = "*";
                anyDisagreement = true;
            }
        }
        std::printf("  %-30s %10s%s %11s %12.2f %8.0f%%\n", name, gpuMedian, mark, gpuP90, wall,
                    100.0 * wall / wallSum);
    }
    std::printf("%-32s %11s %11s %12.2f %9s   p90 %.2f ms, %.1f frames/s\n", "whole frame (wall, glFinish)",
                "", "", frameMedian, "", percentile(series.frameMs, 0.9),
                frameMedian > 0.0 ? 1000.0 / frameMedian : 0.0);
    std::printf(
        "GPU: GL_TIME_ELAPSED around each pass, %d frames. wall: glFinish before and after each pass, "
        "%d frames in between;\nshare: of the passes' wall medians together.\n",
        static_cast<int>(series.frameMs.size()), static_cast<int>(series.passWallMs[pointsPass].size()));
    if (!problem.empty()) {
        std::printf("GPU times not shown: %s.\n", problem.c_str());
    }
    if (anyDisagreement) {
        std::printf("* the timer query disagrees with the pass's own wall time: on this driver the wall "
                    "figure is the one to use.\n");
    }
    std::printf("\n");

    struct Stage {
        const char* name;
        double seconds;
    };
    std::vector<Stage> stages = {{"process start to main (loader, Wine, C runtime)", startup.beforeMain},
                                 {"GDI+ start-up and picture decoding", startup.pictures}};
    for (int stage = 0; stage < glSetupStageCount; ++stage) {
        stages.push_back({glSetupStages[stage].name, startup.glStages[stage]});
    }
    stages.push_back({"first frame to glFinish (incl. driver code generation)", startup.firstFrame});
    double total = 0.0;
    for (const Stage& stage : stages) {
        total += stage.seconds;
    }
    stages.push_back({"total", total});
    std::printf("start-up, process creation to the first finished frame %10s\n", "ms");
    for (const Stage& stage : stages) {
        std::printf("  %-52s %10.1f\n", stage.name, stage.seconds * 1e3);
    }

    // The wall figures that the comparison of two builds reads, under the names shown above.
    std::printf("\nfigures, ms: figure, table, name, value (tab-separated, for scripts)\n");
    for (int pass = 0; pass < glFramePassCount; ++pass) {
        printFigure("frame", glFramePasses[pass].name, percentile(series.passWallMs[pass], 0.5),
                    passDrawn(pass, options));
    }
    printFigure("frame", "whole frame (wall, glFinish)", frameMedian);
    for (const Stage& stage : stages) {
        printFigure("startup", stage.name, stage.seconds * 1e3);
    }
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    StartupTimes startup;
    startup.beforeMain = secondsSinceProcessCreation();
    double mark = secondsNow();
    const auto lap = [&mark](double& stage) {
        const double now = secondsNow();
        stage = now - mark;
        mark = now;
    };

    BenchmarkOptions options;
    if (!parseOptions(argc, argv, options)) {
        std::printf("usage: benchmark [--size WxH] [--frames N] [--start SECONDS] [--preview]\n");
        return 2;
    }
    Gdiplus::GdiplusStartupInput startupInput;
    ULONG_PTR gdiplusToken = 0;
    if (Gdiplus::GdiplusStartup(&gdiplusToken, &startupInput, nullptr) != Gdiplus::Ok) {
        std::printf("benchmark: GDI+ did not start\n");
        return 1;
    }
    Pictures pictures;
    decodeEmbeddedPictures(pictures);
    lap(startup.pictures);

    // The renderer's own set-up, stage by stage; the hidden window belongs to the first stage.
    OffscreenFrame frame;
    bool ready = openOffscreenWindow(frame, options.width, options.height);
    for (int stage = 0; stage < glSetupStageCount && ready; ++stage) {
        ready = glSetupStages[stage].run(frame.renderer, frame.surface, pictures);
        lap(startup.glStages[stage]);
    }
    ready = ready && createOffscreenOutput(frame);
    if (!ready) {
        std::printf("benchmark: the OpenGL set-up failed (see orvane-screensaver.log in the temporary "
                    "directory)\n");
        closeOffscreenFrame(frame);
        return 1;
    }
    renderOffscreenFrame(frame, passValues(options.startTime, options.preview));
    glFinish();
    lap(startup.firstFrame);

    const Series series = runFrames(frame, options);
    printReport(frame, options, series, startup);

    closeOffscreenFrame(frame);
    releaseEmbeddedPictures(pictures);
    Gdiplus::GdiplusShutdown(gdiplusToken);
    return 0;
}
