// The software frame: arcs over the static frame read back from the back buffer, the help card's
// protection, one pass for several windows, the glow arc drawing, and the cadence in the real main
// loop.

#include "shell/main_loop.h"
#include "shell/saver_clock.h"
#include "shell/saver_state.h"
#include "software/software_drawing.h"
#include "software/software_layout.h"
#include "software/software_pass.h"
#include "software/software_renderer.h"
#include "software_test_support.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <numbers>

namespace {

constexpr double degreesPerRadian = 180.0 / std::numbers::pi;
constexpr std::uint32_t coreColour = 0xFFF4E4BEu;

Frame frameAt(ScreenSurface* surface, double t) {
    drawSoftwareFrame(*surface, t);
    return readBitmap(surface->backBitmap);
}

// Signed difference from one angle to another, in (-180, 180].
double angleFromTo(double from, double to) {
    const double difference = std::remainder(to - from, 360.0);
    return difference <= -180.0 ? difference + 360.0 : difference;
}

struct Polar {
    double radius;
    double degrees;
};

Polar polarOf(int x, int y, const ScreenSurface& surface) {
    const LayoutPoint centre = ringCentre(surface.width, surface.height);
    const double dx = x + 0.5 - centre.x;
    const double dy = y + 0.5 - centre.y;
    return {std::hypot(dx, dy), std::atan2(dy, dx) * degreesPerRadian};
}

bool onArcRing(const Polar& polar, int index, float scale) {
    const ArcStyle& arc = arcStyles[index];
    return std::abs(polar.radius - arc.radius * scale) <= 4.0 * arc.penWidth * scale + 2.0;
}

using SoftwareFrame = SoftwareTest;

TEST_F(SoftwareFrame, ArcsRunAlongTheirRingsFadingFromLeadToTailAndEachFrameStartsFromTheStaticFrame) {
    ScreenSurface* surface = openSoftwareSurface(1920, 1080);
    const Frame still = readBitmap(surface->staticBitmap);
    const double t = 4.0;
    const Frame frame = frameAt(surface, t);
    const SoftwarePassValues pass = softwarePassValues(t);
    int stray = 0;
    // Per arc: change summed over the first and the last third of the sweep (the lead's dots lie
    // within the first tenth), and how many pixels three quarters of the way along changed.
    double nearLead[3] = {};
    double nearTail[3] = {};
    int alongArc[3] = {};
    for (int y = 0; y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x) {
            const int change = colourDistance(frame.at(x, y), still.at(x, y));
            if (change == 0) {
                continue;
            }
            const Polar polar = polarOf(x, y, *surface);
            bool explained = false;
            for (int index = 0; index < 3; ++index) {
                const ArcStyle& arc = arcStyles[index];
                // Angular offset behind the lead: 0 at the lead, the sweep at the tail.
                const double ahead = angleFromTo(pass.leadAngle[index], polar.degrees);
                const double offset = arc.trailsBackwards ? -ahead : ahead;
                const double margin = (4.0 * arc.penWidth + 2.0) / arc.radius * degreesPerRadian;
                if (!onArcRing(polar, index, 1.0f) || offset < -margin || offset > arc.sweep + margin) {
                    continue;
                }
                explained = true;
                nearLead[index] += offset > 0.1 * arc.sweep && offset < 0.4 * arc.sweep ? change : 0;
                nearTail[index] += offset > 0.7 * arc.sweep && offset < arc.sweep ? change : 0;
                alongArc[index] += std::abs(offset - 0.75 * arc.sweep) < 2.0 ? 1 : 0;
            }
            stray += explained ? 0 : 1;
        }
    }
    EXPECT_EQ(stray, 0) << "changed pixels off the arcs";
    for (int index = 0; index < 3; ++index) {
        SCOPED_TRACE(testing::Message() << "arc " << index + 1);
        EXPECT_GT(nearLead[index], 4.0 * nearTail[index]) << "the arc must fade out towards its tail";
        EXPECT_GT(alongArc[index], 0) << "the arc must cover its whole sweep";
        const LayoutPoint lead =
            pointOnCircle(960.0f, 475.2f, arcStyles[index].radius, pass.leadAngle[index]);
        const int x = static_cast<int>(lead.x);
        const int y = static_cast<int>(lead.y);
        EXPECT_GT(colourDistance(frame.at(x, y), still.at(x, y)), 30) << "no dot on the lead";
    }
    EXPECT_LE(colourDistance(frame.at(1390, 475), coreColour), 40) << "arc 1's core dot at full alpha";
    // At 0 s the arcs are transparent: the frame is the static frame, with nothing of the last one.
    EXPECT_EQ(frameAt(surface, 0.0).pixels, still.pixels);
    closeSoftwareSurface(surface);
}

TEST_F(SoftwareFrame, ArcsNeverCoverTheHelpCardButPassOverTheCombinedCard) {
    setPictureSlots(true, true);
    ScreenSurface* surface = openSoftwareSurface(1920, 1080);
    const Frame still = readBitmap(surface->staticBitmap);
    // Moments when arc 3's lead, arc 1's glow dot at the card's corner, and arc 2 cross the card.
    for (double t : {3.19, 5.58, 7.78}) {
        SCOPED_TRACE(testing::Message() << "t = " << t);
        EXPECT_EQ(changedPixels(frameAt(surface, t), still, 1315, 728, 1856, 976), 0);
        // Without the help card's picture there is no clip, and the same arcs do reach into it.
        EmbeddedImage* help = helpCardPicture;
        helpCardPicture = nullptr;
        EXPECT_GT(changedPixels(frameAt(surface, t), still, 1315, 728, 1856, 976), 0) << "arcs miss the card";
        helpCardPicture = help;
    }
    // At 4 s arc 1's lead lies inside the combined card's rectangle (510..1410 x 278.7..671.7).
    EXPECT_GT(changedPixels(frameAt(surface, 4.0), still, 1370, 455, 1410, 495), 20);
    closeSoftwareSurface(surface);
}

TEST_F(SoftwareFrame, PreviewFramesDrawTheArcsWithoutProtectingAHelpCard) {
    previewMode = true;
    setPictureSlots(true, true);
    ScreenSurface* surface = openSoftwareSurface(152, 112);
    const Frame still = readBitmap(surface->staticBitmap);
    // At 3.19 s arc 3 runs through where a full-screen help card would sit at this size.
    EXPECT_GT(changedPixels(frameAt(surface, 3.19), still, 90, 76, 145, 101), 0);
    closeSoftwareSurface(surface);
}

// The angle, seen from the ring centre, of arc 1's bright core dot.
double coreDotAngle(const ScreenSurface& surface) {
    const Frame frame = readBitmap(surface.backBitmap);
    const LayoutPoint centre = ringCentre(surface.width, surface.height);
    double sumX = 0.0;
    double sumY = 0.0;
    for (int y = 0; y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x) {
            if (onArcRing(polarOf(x, y, surface), 0, surface.scale) &&
                colourDistance(frame.at(x, y), coreColour) <= 40) {
                sumX += x + 0.5 - centre.x;
                sumY += y + 0.5 - centre.y;
            }
        }
    }
    EXPECT_TRUE(sumX != 0.0 || sumY != 0.0) << "no core dot on ring 1";
    return std::atan2(sumY, sumX) * degreesPerRadian;
}

TEST_F(SoftwareFrame, WindowsOfDifferentSizesShowTheSameAnglesInOnePass) {
    ScreenSurface* large = openSoftwareSurface(1920, 1080);
    ScreenSurface* small = openSoftwareSurface(800, 600);
    for (double t : {4.0, 5.0, 9.0}) {
        SCOPED_TRACE(testing::Message() << "t = " << t);
        drawSoftwareFrame(*large, t);
        drawSoftwareFrame(*small, t);
        EXPECT_NEAR(angleFromTo(22.5 * t - 90.0, coreDotAngle(*large)), 0.0, 1.0);
        EXPECT_NEAR(angleFromTo(22.5 * t - 90.0, coreDotAngle(*small)), 0.0, 1.0);
    }
    closeSoftwareSurface(small);
    closeSoftwareSurface(large);
}

TEST_F(SoftwareFrame, AGlowArcsDotsAndTailCapFollowTheirColoursAndSizes) {
    ScreenSurface* surface = openSoftwareSurface(200, 200);
    {
        Gdiplus::Graphics graphics(surface->backDc);
        graphics.Clear(Gdiplus::Color(255, 0, 0, 0));
        // Lead at (160, 100), tail 80 degrees back; a wide pen makes caps and dots big enough to sample.
        drawGlowArc(graphics, 100.0f, 100.0f, 60.0f, 0.0, 80.0f, true, 12.0f, 200, 100, 50, 255);
    }
    const Frame frame = readBitmap(surface->backBitmap);
    closeSoftwareSurface(surface);
    // Core dot: opaque (244, 228, 190), radius 1.3 x 12; glow dot: the arc's colour at alpha 255 / 6 = 42,
    // radius 4 x 12; below the lead nothing else is drawn.
    EXPECT_LE(colourDistance(frame.at(160, 100), coreColour), 1);
    EXPECT_LE(colourDistance(frame.at(160, 112), coreColour), 1);
    const std::uint32_t glow =
        0xFF000000u | ((200 * 42 / 255) << 16) | ((100 * 42 / 255) << 8) | (50 * 42 / 255);
    EXPECT_LE(colourDistance(frame.at(160, 130), glow), 1);
    EXPECT_LE(colourDistance(frame.at(160, 145), glow), 1);
    EXPECT_EQ(colourDistance(frame.at(160, 151), 0xFF000000u), 0);
    // Nearly opaque next to the lead, nearly transparent near the tail, and the round cap beyond the
    // tail mirrors the gradient instead of wrapping round to the lead's alpha.
    auto redAt = [&](double x, double y) {
        return channel(frame.at(static_cast<int>(x), static_cast<int>(y)), 16);
    };
    const LayoutPoint nearLead = pointOnCircle(100.0f, 100.0f, 60.0f, -25.0);
    const LayoutPoint nearTail = pointOnCircle(100.0f, 100.0f, 60.0f, -78.0);
    EXPECT_GT(redAt(nearLead.x, nearLead.y), 120);
    EXPECT_LT(redAt(nearTail.x, nearTail.y), 30);
    const double tail = -80.0 / degreesPerRadian;
    EXPECT_LT(redAt(100.0 + 60.0 * std::cos(tail) + 4.0 * std::sin(tail),
                    100.0 + 60.0 * std::sin(tail) - 4.0 * std::cos(tail)),
              30)
        << "the tail's cap";
}

// Saver times of the blits to the window.
std::vector<double> windowBlits;
HDC watchedBackDc = nullptr;

TEST_F(SoftwareFrame, TheMainLoopRedrawsASoftwareWindowAtMostThirtyTimesASecond) {
    ScreenSurface* surface = openSoftwareSurface(64, 48);
    std::vector<ScreenSurface*> saved = replaceSurfaces({surface});
    watchedBackDc = surface->backDc;
    windowBlits.clear();
    softwareGdi.bitBlt = [](HDC target, int x, int y, int width, int height, HDC source, int sourceX,
                            int sourceY, DWORD operation) -> BOOL {
        if (target != watchedBackDc) {
            windowBlits.push_back(readSaverClock());
        }
        return BitBlt(target, x, y, width, height, source, sourceX, sourceY, operation);
    };
    // Closing earlier test windows left their quit messages behind.
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    startSaverClock();
    const UINT_PTR timer =
        SetTimer(nullptr, 0, 1000, [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(0); });
    runMainLoop();
    KillTimer(nullptr, timer);
    softwareGdi = originalGdi;
    replaceSurfaces(saved);
    closeSoftwareSurface(surface);

    EXPECT_GE(windowBlits.size(), 15u) << "the loop must keep redrawing";
    EXPECT_LE(windowBlits.size(), 31u);
    for (std::size_t index = 1; index < windowBlits.size(); ++index) {
        // The loop's 1/30 s is measured between pass starts; a few milliseconds of drawing jitter.
        EXPECT_GE(windowBlits[index] - windowBlits[index - 1], 1.0 / 30.0 - 0.005) << "frame " << index;
    }
}

TEST_F(SoftwareFrame, AFrameCostsAFractionOfTheSetUpBecauseWhatDoesNotMoveIsDrawnOnce) {
    setPictureSlots(true, true);
    // Medians measured in the same run, so that a busy machine slows both alike.
    auto medianMilliseconds = [](int runs, auto work) {
        std::vector<double> times;
        for (int run = 0; run < runs; ++run) {
            const auto start = std::chrono::steady_clock::now();
            work(run);
            GdiFlush();
            times.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
        std::sort(times.begin(), times.end());
        return times[times.size() / 2];
    };
    ScreenSurface* surface = nullptr;
    const double setUp = medianMilliseconds(3, [&](int) {
        if (surface != nullptr) {
            closeSoftwareSurface(surface);
        }
        surface = openSoftwareSurface(1920, 1080);
    });
    const double frame =
        medianMilliseconds(90, [&](int run) { drawSoftwareFrame(*surface, 2.0 + run / 30.0); });
    closeSoftwareSurface(surface);
    EXPECT_LT(frame, 0.5 * setUp) << "frame median " << frame << " ms, set-up median " << setUp << " ms";
}

} // namespace
