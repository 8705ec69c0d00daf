// The software path read back from its DIB sections: the set-up and its failures, the static frame
// (background, rings, cards), and the frames blitted to the window (arcs kept off the help card,
// every frame started from the static frame, redrawn only around the arcs as a whole redraw would).

#include "shell/saver_lifecycle.h"
#include "software/software_gdi.h"
#include "support/test_windows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

namespace {

// A frame of 1920 x 1080 pixels as 0xAARRGGBB values, in the order of the section's memory.
using Frame = std::vector<std::uint32_t>;

Frame readBitmap(HGDIOBJ bitmap) {
    GdiFlush();
    DIBSECTION dib = {};
    GetObjectW(bitmap, sizeof dib, &dib);
    const auto* bits = static_cast<const std::uint32_t*>(dib.dsBm.bmBits);
    return {bits, bits + dib.dsBm.bmWidth * dib.dsBm.bmHeight};
}

// Pixels of the rectangle that differ from `before`.
int changedPixels(const Frame& frame, const Frame& before, RECT rect) {
    int changed = 0;
    for (LONG i = 0; i < 1920 * 1080; ++i) {
        changed += frame[i] != before[i] && PtInRect(&rect, {i % 1920, i / 1920});
    }
    return changed;
}

// What reached each window (of 1920 pixels a row): the blitted rectangles over what was there.
std::map<HWND, Frame> shown;
int blittedPixels = 0;

Frame shownAt(SaverWindow* window, double t) {
    drawSoftwareFrame(*window->software, window->surface, softwarePassValues(t));
    return shown[window->surface.window];
}

// The six pictures decoded anew around every test, and the window's blits watched.
struct SoftwareFrame : ::testing::Test {
    void SetUp() override {
        decodeEmbeddedPictures(pictures);
        softwareGdi.bitBlt = [](HDC to, int x, int y, int width, int height, HDC from, int fromX, int fromY,
                                DWORD operation) {
            if (GetObjectType(to) != OBJ_MEMDC) {
                const Frame source = readBitmap(GetCurrentObject(from, OBJ_BITMAP));
                Frame& window = shown[WindowFromDC(to)];
                window.resize(source.size());
                for (int row = 0; row < height; ++row) {
                    std::copy_n(&source[(fromY + row) * 1920 + fromX], width, &window[(y + row) * 1920 + x]);
                }
                blittedPixels += width * height;
            }
            return BitBlt(to, x, y, width, height, from, fromX, fromY, operation);
        };
    }
    void TearDown() override {
        softwareGdi = originalGdi;
        tearDownWindows(saver);
        releaseEmbeddedPictures(pictures);
    }
    // A window on the software path, as after a failed GL set-up, with these pictures.
    SaverWindow* open(const Pictures& with, int width = 1920, int height = 1080) {
        saver.pictures = with;
        return addSaverWindow(saver, false, width, height);
    }
    Saver saver = testSaver(); // GDI+ started
    Pictures pictures;
    const SoftwareGdiCalls originalGdi = softwareGdi;
};

// Set-up calls in order: two DCs, two sections, two selections. Per memory DC, the bitmap it came
// with and the one selected now: a DC must get its own back before it is deleted.
int failingCall = 0, calls = 0;
const auto failNow = [] { return ++calls == failingCall; };
std::map<HDC, std::pair<HGDIOBJ, HGDIOBJ>> dcBitmaps;
bool selectedIntoDeletedDc = false;

TEST_F(SoftwareFrame, ASetUpThatCannotMakeItsDcsOrSectionsReleasesThemAndLeavesNoBackBuffer) {
    softwareGdi.createCompatibleDc = [](HDC dc) { return failNow() ? nullptr : CreateCompatibleDC(dc); };
    softwareGdi.createDibSection = [](HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE,
                                      DWORD) {
        return failNow() ? nullptr : CreateDIBSection(dc, info, usage, bits, nullptr, 0);
    };
    softwareGdi.selectObject = [](HDC dc, HGDIOBJ object) -> HGDIOBJ {
        selectedIntoDeletedDc |= GetObjectType(dc) != OBJ_MEMDC;
        const HGDIOBJ now = GetCurrentObject(dc, OBJ_BITMAP);
        const bool fails = failNow();
        dcBitmaps.try_emplace(dc, now, now).first->second.second = fails ? now : object;
        return fails ? nullptr : SelectObject(dc, object);
    };
    // Call 0 never fails, but a 0 x 0 window (a monitor whose rectangle could not be read) gets no sections.
    for (int call : {1, 2, 3, 4, 5, 6, 0}) {
        std::tie(failingCall, calls, selectedIntoDeletedDc) = std::tuple(call, 0, false);
        dcBitmaps.clear();
        const int size = call == 0 ? 0 : 64;
        const SoftwareRenderer& made = *open(pictures, size, size)->software;
        EXPECT_EQ(std::tuple(made.staticDc, made.backDc, made.staticBitmap, made.backBitmap),
                  std::tuple(nullptr, nullptr, nullptr, nullptr));
        EXPECT_FALSE(selectedIntoDeletedDc) << call;
        for (const auto& [dc, bitmaps] : dcBitmaps) {
            EXPECT_EQ(bitmaps.second, bitmaps.first) << "a section left selected at call " << call;
        }
    }
}

// A flat opaque background picture of 128 x 128 pixels, stretched to 1920 x 1080: a picture drawn
// unscaled or with its aspect kept would leave ground uncovered. Its resampled edges are not checked.
constexpr std::uint32_t backgroundColour = 0xFF203040u;

const auto inside = [](double x, double y) { return std::min({x, 1920 - x, y, 1080 - y}) >= 40; };

// At scale 1: the rings around (960, 475.2) over the background, and the cards at the layout test's
// rectangles widened to whole pixels and one more for anti-aliasing.
TEST_F(SoftwareFrame, RingsAndCardsLieOverTheBackgroundStretchedToTheWholeWindow) {
    auto* background = new Gdiplus::Bitmap(128, 128, PixelFormat32bppPARGB);
    Gdiplus::Graphics(background).Clear(Gdiplus::Color(backgroundColour));
    delete std::exchange(pictures.slots[backgroundPicture], background);
    const Frame frame = readBitmap(open(pictures)->software->staticBitmap);
    // Only the background: the logo and the tagline belong to the GL path and must not show.
    Pictures backgroundOnly;
    backgroundOnly.slots[backgroundPicture] = background;
    const Frame bare = readBitmap(open(backgroundOnly)->software->staticBitmap);
    // Pixels unlike the background, and all pixels, in the 6-pixel bands around the radii 430, 560
    // and 700, and off them.
    int unlike[4] = {}, all[4] = {};
    for (int i = 0; i < 1920 * 1080; ++i) {
        const double x = i % 1920 + 0.5, y = i / 1920 + 0.5, distance = std::hypot(x - 960, y - 475.2);
        const int band = std::min({std::abs(distance - 430) < 3 ? 0 : 3, std::abs(distance - 560) < 3 ? 1 : 3,
                                   std::abs(distance - 700) < 3 ? 2 : 3});
        all[band] += inside(x, y);
        unlike[band] += inside(x, y) && bare[i] != backgroundColour;
    }
    EXPECT_EQ(unlike[3], 0) << "pixels off the rings unlike the background";
    // A whole ring one pixel wide changes about one pixel in seven of its band (0.15 measured); ring 2
    // is dashed, 2 pen widths on and 10 off.
    auto share = [&](int ring) { return double(unlike[ring]) / all[ring]; };
    EXPECT_GT(std::min(share(0), share(2)), 0.12);
    EXPECT_NEAR(share(1) / share(0), 1.0 / 6.0, 0.06);
    int outside = changedPixels(frame, bare, {0, 0, 1920, 1080});
    for (RECT card : {RECT{509, 277, 1411, 673}, {1314, 727, 1857, 977}, {63, 957, 182, 977}}) {
        const int drawn = changedPixels(frame, bare, card);
        EXPECT_GT(drawn, (card.right - card.left) * (card.bottom - card.top) / 25) << "a card does not show";
        outside -= drawn;
    }
    EXPECT_EQ(outside, 0);
}

// Moments when arc 3's lead, arc 1's glow dot at the card's corner, and arc 2 cross the help card:
// with its picture in its slot the arcs are clipped, without it they show. At 4 s arc 1's lead lies
// on the combined card.
TEST_F(SoftwareFrame, ArcsCrossTheCombinedCardButNeverTheHelpCardAndEachFrameStartsFromTheStaticFrame) {
    SaverWindow* window = open(pictures);
    Pictures withoutHelpCard = pictures;
    withoutHelpCard.slots[helpCardPicture] = nullptr;
    SaverWindow* unclipped = open(withoutHelpCard);
    const Frame still = readBitmap(window->software->staticBitmap);
    const Frame unclippedStill = readBitmap(unclipped->software->staticBitmap);
    const RECT helpCard = {1315, 728, 1856, 976};
    EXPECT_GT(changedPixels(shownAt(window, 4.0), still, {1370, 455, 1410, 495}), 20);
    for (double t : {3.19, 5.58, 7.78}) {
        EXPECT_EQ(changedPixels(shownAt(window, t), still, helpCard), 0) << t;
        EXPECT_GT(changedPixels(shownAt(unclipped, t), unclippedStill, helpCard), 0) << t;
    }
    // At 0 s the arcs are transparent: the window gets the static frame, its pictures included though
    // they are released now, and nothing left of the earlier frames.
    releaseEmbeddedPictures(pictures);
    EXPECT_EQ(shownAt(window, 0.0), still);
}

// Redrawing only around the arcs gives, in the back buffer and in the window, the pixels of a whole
// redraw at the same instant: fading in, jumping half a turn, across the 22 s cycle, after a paint,
// which finds the window's pixels lost, and after a frame that did not reach the window. A steady frame blits
// far less than the window.
TEST_F(SoftwareFrame, FramesRedrawnAroundTheArcsMatchWholeRedraws) {
    SaverWindow* partial = open(pictures);
    SaverWindow* whole = open(pictures);
    const RECT all = {0, 0, 1920, 1080};
    for (double t : {0.4, 1.0, 1.45, 5.0, 13.0, 13.03, 21.98, 22.02, 7.0, 7.03}) {
        if (t == 7.0) {
            shown[partial->surface.window].assign(1920 * 1080, 0u);
            SendMessageW(partial->surface.window, WM_PAINT, 0, 0);
        }
        if (t == 13.0) { // a frame at 9 s whose window DC could not be had: the next one repairs it
            softwareGdi.getDc = [](HWND) -> HDC { return nullptr; };
            drawSoftwareFrame(*partial->software, partial->surface, softwarePassValues(9.0));
            softwareGdi.getDc = originalGdi.getDc;
        }
        blittedPixels = 0;
        const Frame seen = shownAt(partial, t);
        EXPECT_TRUE(t != 13.03 || blittedPixels < 1920 * 1080 / 8) << blittedPixels;
        repaintSoftwareFrame(*whole->software);
        EXPECT_EQ(changedPixels(seen, shownAt(whole, t), all), 0) << "the window at " << t;
        const Frame partialBack = readBitmap(partial->software->backBitmap);
        EXPECT_EQ(changedPixels(partialBack, readBitmap(whole->software->backBitmap), all), 0) << t;
    }
}

} // namespace
