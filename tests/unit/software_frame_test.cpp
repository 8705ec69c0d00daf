// The software frame: arcs over the static frame read back from the back buffer, the help card's
// protection, one pass for several windows, the drawing routines, and the cadence in the real
// main loop.

#include "shell/main_loop.h"
#include "shell/saver_clock.h"
#include "shell/saver_state.h"
#include "software/software_drawing.h"
#include "software/software_gdi.h"
#include "software/software_layout.h"
#include "software/software_pass.h"
#include "software/software_renderer.h"
#include "software_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <numbers>

namespace {

constexpr double degreesPerRadian = 180.0 / std::numbers::pi;

Frame frameAt(ScreenSurface* surface, double t) {
    drawSoftwareFrame(*surface, t);
    return readBitmap(surface->backBitmap);
}

// Signed difference from one angle to another, in (-180, 180].
double angleFromTo(double from, double to) {
    double difference = std::fmod(to - from, 360.0);
    if (difference > 180.0) {
        difference -= 360.0;
    }
    if (difference <= -180.0) {
        difference += 360.0;
    }
    return difference;
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

// Where a pixel lies along arc `index` at lead angle `lead`: its angular offset behind the lead
// (0 at the lead, the sweep at the tail), or a negative value ahead of the lead. NaN when off its ring.
double offsetBehindLead(const Polar& polar, int index, double lead, float scale) {
    const ArcStyle& arc = arcStyles[index];
    const double reach = 4.0 * arc.penWidth * scale + 2.0;
    if (std::abs(polar.radius - arc.radius * scale) > reach) {
        return std::nan("");
    }
    const double offset = angleFromTo(lead, polar.degrees);
    return arc.trailsBackwards ? -offset : offset;
}

class SoftwareFrame : public ::testing::Test {
  protected:
    void SetUp() override {
        startGdiplusOnce();
        previewMode = false;
        original = softwareGdi;
    }
    void TearDown() override {
        softwareGdi = original;
        clearPictureSlots();
        previewMode = false;
    }
    SoftwareGdiCalls original = {};
};

TEST_F(SoftwareFrame, ArcsRunAlongTheirRingsFadingFromLeadToTailAndNothingElseChanges) {
    ScreenSurface* surface = openSoftwareSurface(1920, 1080);
    const Frame still = readBitmap(surface->staticBitmap);
    const double t = 4.0;
    const Frame frame = frameAt(surface, t);
    const SoftwarePassValues pass = softwarePassValues(t);
    int stray = 0;
    // Per arc: change summed over the first and the last third of the sweep (the lead's dots lie
    // within the first tenth), and whether pixels three quarters of the way along changed.
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
                const double offset = offsetBehindLead(polar, index, pass.leadAngle[index], 1.0f);
                const double margin = (4.0 * arc.penWidth + 2.0) / arc.radius * degreesPerRadian;
                if (std::isnan(offset) || offset < -margin || offset > arc.sweep + margin) {
                    continue;
                }
                explained = true;
                if (offset > 0.1 * arc.sweep && offset < 0.4 * arc.sweep) {
                    nearLead[index] += change;
                }
                if (offset > 0.7 * arc.sweep && offset < arc.sweep) {
                    nearTail[index] += change;
                }
                if (std::abs(offset - 0.75 * arc.sweep) < 2.0) {
                    ++alongArc[index];
                }
            }
            stray += explained ? 0 : 1;
        }
    }
    EXPECT_EQ(stray, 0) << "changed pixels off the arcs";
    for (int index = 0; index < 3; ++index) {
        SCOPED_TRACE(testing::Message() << "arc " << index + 1);
        EXPECT_GT(nearLead[index], 4.0 * nearTail[index]) << "the arc must fade out towards its tail";
        EXPECT_GT(alongArc[index], 0) << "the arc must cover its whole sweep";
        // The core dot sits on the lead point.
        const LayoutPoint lead =
            pointOnCircle(960.0f, 475.2f, arcStyles[index].radius, pass.leadAngle[index]);
        const int x = static_cast<int>(lead.x);
        const int y = static_cast<int>(lead.y);
        EXPECT_GT(colourDistance(frame.at(x, y), still.at(x, y)), 30);
    }
    // Arc 1 at full alpha: the core dot is nearly its own colour.
    EXPECT_LE(colourDistance(frame.at(1390, 475), 0xFFF4E4BEu), 40);
    closeSoftwareSurface(surface);
}

TEST_F(SoftwareFrame, AtTimeZeroTheArcsAreTransparentAndTheFrameIsTheStaticFrame) {
    setPictureSlots(true, true);
    ScreenSurface* surface = openSoftwareSurface(640, 360);
    const Frame still = readBitmap(surface->staticBitmap);
    const Frame frame = frameAt(surface, 0.0);
    int changed = 0;
    for (std::size_t index = 0; index < frame.pixels.size(); ++index) {
        changed += colourDistance(frame.pixels[index], still.pixels[index]) > 0 ? 1 : 0;
    }
    EXPECT_EQ(changed, 0);
    // A later frame starts again from the static frame: nothing of it stays behind.
    frameAt(surface, 4.0);
    const Frame again = frameAt(surface, 0.0);
    EXPECT_EQ(again.pixels, frame.pixels);
    closeSoftwareSurface(surface);
}

int changedInside(const Frame& frame, const Frame& still, int left, int top, int right, int bottom) {
    int changed = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            changed += colourDistance(frame.at(x, y), still.at(x, y)) > 0 ? 1 : 0;
        }
    }
    return changed;
}

TEST_F(SoftwareFrame, ArcsNeverCoverTheHelpCardButPassOverTheCombinedCard) {
    setPictureSlots(true, true);
    ScreenSurface* surface = openSoftwareSurface(1920, 1080);
    const Frame still = readBitmap(surface->staticBitmap);
    // Moments when arc 3's lead, arc 1's glow dot at the card's corner, and arc 2 cross the card.
    for (double t : {3.19, 5.58, 7.78}) {
        SCOPED_TRACE(testing::Message() << "t = " << t);
        const Frame frame = frameAt(surface, t);
        EXPECT_EQ(changedInside(frame, still, 1315, 728, 1856, 976), 0);
        // Without the help card's picture there is no clip, and the same arcs do reach into it.
        EmbeddedImage* help = helpCardPicture;
        helpCardPicture = nullptr;
        const Frame unclipped = frameAt(surface, t);
        helpCardPicture = help;
        EXPECT_GT(changedInside(unclipped, still, 1315, 728, 1856, 976), 0)
            << "the arcs do not reach the card";
    }
    // At 4 s arc 1's lead lies inside the combined card's rectangle (510..1410 x 278.7..671.7).
    EXPECT_GT(changedInside(frameAt(surface, 4.0), still, 1370, 455, 1410, 495), 20);
    closeSoftwareSurface(surface);
}

// The angle, seen from the ring centre, of arc 1's bright core dot.
double coreDotAngle(const Frame& frame, const ScreenSurface& surface) {
    double sumX = 0.0;
    double sumY = 0.0;
    int count = 0;
    const LayoutPoint centre = ringCentre(surface.width, surface.height);
    const float reach = 4.0f * arcStyles[0].penWidth * surface.scale + 2.0f;
    for (int y = 0; y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x) {
            const Polar polar = polarOf(x, y, surface);
            if (std::abs(polar.radius - arcStyles[0].radius * surface.scale) < reach &&
                colourDistance(frame.at(x, y), 0xFFF4E4BEu) <= 40) {
                sumX += x + 0.5 - centre.x;
                sumY += y + 0.5 - centre.y;
                ++count;
            }
        }
    }
    EXPECT_GT(count, 0) << "no core dot on ring 1";
    return std::atan2(sumY, sumX) * degreesPerRadian;
}

TEST_F(SoftwareFrame, WindowsOfDifferentSizesShowTheSameAnglesInOnePass) {
    ScreenSurface* large = openSoftwareSurface(1920, 1080);
    ScreenSurface* small = openSoftwareSurface(800, 600);
    for (double t : {4.0, 5.0, 9.0}) {
        SCOPED_TRACE(testing::Message() << "t = " << t);
        // One pass: both windows with the same saver time.
        drawSoftwareFrame(*large, t);
        drawSoftwareFrame(*small, t);
        const double expected = 22.5 * t - 90.0;
        EXPECT_NEAR(angleFromTo(expected, coreDotAngle(readBitmap(large->backBitmap), *large)), 0.0, 1.0);
        EXPECT_NEAR(angleFromTo(expected, coreDotAngle(readBitmap(small->backBitmap), *small)), 0.0, 1.0);
    }
    closeSoftwareSurface(small);
    closeSoftwareSurface(large);
}

TEST_F(SoftwareFrame, PreviewFramesDrawTheArcsWithoutProtectingAHelpCard) {
    previewMode = true;
    setPictureSlots(true, true);
    ScreenSurface* surface = openSoftwareSurface(152, 112);
    const Frame still = readBitmap(surface->staticBitmap);
    // At 3.19 s arc 3 runs from 17 to 45 degrees, through where a full-screen help card would sit
    // at this size (about 89..145 x 76..101); the preview has no help card and no clip.
    const Frame frame = frameAt(surface, 3.19);
    captureFrame(still, L"software-preview-static-152x112");
    captureFrame(frame, L"software-preview-frame-152x112");
    EXPECT_GT(changedInside(frame, still, 90, 76, 145, 101), 0);
    closeSoftwareSurface(surface);
}

TEST(GlowArcDrawing, DotsAndTailCapFollowTheirColoursAndSizes) {
    startGdiplusOnce();
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 200, -200, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    {
        Gdiplus::Graphics graphics(dc);
        graphics.Clear(Gdiplus::Color(255, 0, 0, 0));
        // Lead at (160, 100), tail 80 degrees back at about (110.4, 40.9); a wide pen makes the caps
        // and dots big enough to sample.
        drawGlowArc(graphics, 100.0f, 100.0f, 60.0f, 0.0, 80.0f, true, 12.0f, 200, 100, 50, 255);
    }
    const Frame frame = readBitmap(bitmap);
    // Core dot: opaque (244, 228, 190), radius 1.3 x 12 = 15.6.
    EXPECT_LE(colourDistance(frame.at(160, 100), 0xFFF4E4BEu), 1);
    EXPECT_LE(colourDistance(frame.at(160, 112), 0xFFF4E4BEu), 1);
    // Glow dot: the arc's colour at alpha 255 / 6 = 42, radius 4 x 12 = 48; below the lead nothing
    // else is drawn.
    const std::uint32_t glow =
        0xFF000000u | ((200 * 42 / 255) << 16) | ((100 * 42 / 255) << 8) | (50 * 42 / 255);
    EXPECT_LE(colourDistance(frame.at(160, 130), glow), 1);
    EXPECT_LE(colourDistance(frame.at(160, 145), glow), 1);
    EXPECT_EQ(colourDistance(frame.at(160, 151), 0xFF000000u), 0);
    // Next to the lead the arc is nearly opaque, near the tail nearly transparent, and the round
    // cap beyond the tail mirrors the gradient instead of wrapping round to the lead's alpha.
    const LayoutPoint nearLead = pointOnCircle(100.0f, 100.0f, 60.0f, -25.0);
    EXPECT_GT(red(frame.at(static_cast<int>(nearLead.x), static_cast<int>(nearLead.y))), 120);
    const LayoutPoint nearTail = pointOnCircle(100.0f, 100.0f, 60.0f, -78.0);
    EXPECT_LT(red(frame.at(static_cast<int>(nearTail.x), static_cast<int>(nearTail.y))), 30);
    const double tail = -80.0 / degreesPerRadian;
    const int capX = static_cast<int>(100.0 + 60.0 * std::cos(tail) + 4.0 * std::sin(tail));
    const int capY = static_cast<int>(100.0 + 60.0 * std::sin(tail) - 4.0 * std::cos(tail));
    EXPECT_LT(red(frame.at(capX, capY)), 30) << "at (" << capX << ", " << capY << ")";
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
}

// Saver times of the blits to the window.
std::vector<double> windowBlits;
HDC watchedBackDc = nullptr;

BOOL WINAPI recordBlit(HDC target, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                       DWORD operation) {
    if (target != watchedBackDc) {
        windowBlits.push_back(readSaverClock());
    }
    return BitBlt(target, x, y, width, height, source, sourceX, sourceY, operation);
}

TEST_F(SoftwareFrame, TheMainLoopRedrawsASoftwareWindowAtMostThirtyTimesASecond) {
    ScreenSurface* surface = openSoftwareSurface(64, 48);
    std::vector<ScreenSurface*> saved;
    saved.swap(surfaces);
    surfaces.push_back(surface);
    watchedBackDc = surface->backDc;
    windowBlits.clear();
    softwareGdi.bitBlt = recordBlit;
    // Closing earlier test windows left their quit messages behind.
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    startSaverClock();
    const UINT_PTR timer =
        SetTimer(nullptr, 0, 1000, [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(0); });
    runMainLoop();
    KillTimer(nullptr, timer);
    softwareGdi = original;
    surfaces.swap(saved);
    closeSoftwareSurface(surface);

    EXPECT_GE(windowBlits.size(), 15u) << "the loop must keep redrawing";
    EXPECT_LE(windowBlits.size(), 31u);
    for (std::size_t index = 1; index < windowBlits.size(); ++index) {
        // The loop's 1/30 s is measured between pass starts; a few milliseconds of drawing jitter.
        EXPECT_GE(windowBlits[index] - windowBlits[index - 1], 1.0 / 30.0 - 0.005) << "frame " << index;
    }
}

double medianOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

template <typename Work> double millisecondsOf(Work work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    GdiFlush();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

TEST_F(SoftwareFrame, AFrameCostsAFractionOfTheSetUpBecauseWhatDoesNotMoveIsDrawnOnce) {
    setPictureSlots(true, true);
    // Measured against the set-up in the same run, so that a busy machine slows both alike.
    std::vector<double> setUps;
    ScreenSurface* surface = nullptr;
    for (int run = 0; run < 3; ++run) {
        if (surface != nullptr) {
            closeSoftwareSurface(surface);
        }
        setUps.push_back(millisecondsOf([&] { surface = openSoftwareSurface(1920, 1080); }));
    }
    std::vector<double> frames;
    for (int frame = 0; frame < 90; ++frame) {
        frames.push_back(millisecondsOf([&] { drawSoftwareFrame(*surface, 2.0 + frame / 30.0); }));
    }
    closeSoftwareSurface(surface);
    const double frame = medianOf(frames);
    const double setUp = medianOf(setUps);
    std::printf(
        "software 1920x1080: frame median %.2f ms over %zu frames (fastest %.2f), set-up median %.1f ms\n",
        frame, frames.size(), *std::min_element(frames.begin(), frames.end()), setUp);
    EXPECT_LT(frame, 0.5 * setUp);
}

} // namespace
