// The static frame of the software path, read back from its DIB section: ground, background,
// rings and picture cards where the layout puts them.

#include "shell/saver_state.h"
#include "software/software_layout.h"
#include "software_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr std::uint32_t ground = 0xFF07090Du;

Frame staticFrame(int width, int height) {
    ScreenSurface* surface = openSoftwareSurface(width, height);
    Frame frame = readBitmap(surface->staticBitmap);
    closeSoftwareSurface(surface);
    return frame;
}

// A non-premultiplied colour of `alpha` over an opaque pixel, as GDI+ blends it.
std::uint32_t blendOver(std::uint32_t colour, int alpha, std::uint32_t beneath) {
    auto mix = [&](int top, int bottom) { return (top * alpha + bottom * (255 - alpha) + 127) / 255; };
    return 0xFF000000u | (mix(red(colour), red(beneath)) << 16) | (mix(green(colour), green(beneath)) << 8) |
           mix(blue(colour), blue(beneath));
}

// A premultiplied picture pixel over an opaque pixel.
std::uint32_t pictureOver(std::uint32_t picture, std::uint32_t beneath) {
    const int rest = 255 - alpha(picture);
    auto mix = [&](int top, int bottom) { return std::min(255, top + (bottom * rest + 127) / 255); };
    return 0xFF000000u | (mix(red(picture), red(beneath)) << 16) |
           (mix(green(picture), green(beneath)) << 8) | mix(blue(picture), blue(beneath));
}

struct CardComparison {
    int compared = 0;       // samples where the picture is flat enough for any resampling to agree
    int visible = 0;        // of those, samples where the card clearly differs from what is beneath
    int mismatched = 0;     // of those, samples that do not show the picture over what is beneath
    int outsideChanged = 0; // pixels of a band just outside the rectangle that differ from beneath
    int insideChanged = 0;  // pixels inside the rectangle that differ from beneath
};

// Compares the card drawn into `frame` at `rect` against `picture` composited over `beneath`,
// sampling away from the picture's edges and detail.
CardComparison compareCard(const Frame& frame, const Frame& beneath, const Frame& picture, LayoutRect rect,
                           int step) {
    CardComparison result;
    const double perPixelX = picture.width / rect.width;
    const double perPixelY = picture.height / rect.height;
    const int reach = static_cast<int>(std::ceil(std::max(perPixelX, perPixelY))) + 1;
    const int left = static_cast<int>(std::ceil(rect.x));
    const int top = static_cast<int>(std::ceil(rect.y));
    const int right = static_cast<int>(std::floor(rect.x + rect.width));
    const int bottom = static_cast<int>(std::floor(rect.y + rect.height));
    for (int y = top + 2; y < bottom - 2; y += step) {
        for (int x = left + 2; x < right - 2; x += step) {
            const int sx = static_cast<int>((x + 0.5 - rect.x) * perPixelX);
            const int sy = static_cast<int>((y + 0.5 - rect.y) * perPixelY);
            const std::uint32_t centre = picture.at(sx, sy);
            bool flat = true;
            for (int dy = -reach; dy <= reach && flat; ++dy) {
                for (int dx = -reach; dx <= reach && flat; ++dx) {
                    const int px = std::clamp(sx + dx, 0, picture.width - 1);
                    const int py = std::clamp(sy + dy, 0, picture.height - 1);
                    const std::uint32_t other = picture.at(px, py);
                    flat = colourDistance(other, centre) <= 3 && std::abs(alpha(other) - alpha(centre)) <= 3;
                }
            }
            if (!flat) {
                continue;
            }
            const std::uint32_t expected = pictureOver(centre, beneath.at(x, y));
            ++result.compared;
            result.visible += colourDistance(expected, beneath.at(x, y)) > 24 ? 1 : 0;
            result.mismatched += colourDistance(expected, frame.at(x, y)) > 6 ? 1 : 0;
        }
    }
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            result.insideChanged += colourDistance(frame.at(x, y), beneath.at(x, y)) > 8 ? 1 : 0;
        }
    }
    // A band two to four pixels outside the rectangle.
    for (int y = top - 4; y < bottom + 4; ++y) {
        for (int x = left - 4; x < right + 4; ++x) {
            const bool inBand = x < left - 1 || x > right || y < top - 1 || y > bottom;
            if (inBand && x >= 0 && y >= 0 && x < frame.width && y < frame.height) {
                result.outsideChanged += colourDistance(frame.at(x, y), beneath.at(x, y)) > 1 ? 1 : 0;
            }
        }
    }
    return result;
}

void expectCardShown(const CardComparison& card, int minimumVisible, int minimumChanged) {
    EXPECT_GT(card.compared, 0);
    EXPECT_GE(card.visible, minimumVisible) << "the card's picture does not show";
    EXPECT_GE(card.insideChanged, minimumChanged) << "the card's picture does not show";
    EXPECT_LE(card.mismatched, card.compared / 100) << "of " << card.compared << " samples";
    EXPECT_EQ(card.outsideChanged, 0) << "card pixels outside the card's rectangle";
}

class SoftwareStaticFrame : public ::testing::Test {
  protected:
    void SetUp() override {
        startGdiplusOnce();
        previewMode = false;
    }
    void TearDown() override {
        clearPictureSlots();
        previewMode = false;
    }
};

// Whether a ring of `colour` lights a pixel within two pixels of radius r at `degrees`.
bool ringLit(const Frame& frame, float cx, float cy, float radius, double degrees, std::uint32_t expected) {
    const double radians = degrees * std::numbers::pi / 180.0;
    for (float r = radius - 2.0f; r <= radius + 2.0f; r += 0.5f) {
        const int x = static_cast<int>(std::floor(cx + r * std::cos(radians)));
        const int y = static_cast<int>(std::floor(cy + r * std::sin(radians)));
        if (colourDistance(frame.at(x, y), expected) <= 2) {
            return true;
        }
    }
    return false;
}

// The share of sampled angles, over the part of the circle well inside the frame, where the ring shows.
double litShare(const Frame& frame, float cx, float cy, float radius, std::uint32_t expected) {
    int inside = 0;
    int lit = 0;
    for (double degrees = 0.0; degrees < 360.0; degrees += 0.25) {
        const double radians = degrees * std::numbers::pi / 180.0;
        const double x = cx + radius * std::cos(radians);
        const double y = cy + radius * std::sin(radians);
        if (x < 4 || y < 4 || x > frame.width - 5 || y > frame.height - 5) {
            continue;
        }
        ++inside;
        lit += ringLit(frame, cx, cy, radius, degrees, expected) ? 1 : 0;
    }
    return inside == 0 ? 0.0 : static_cast<double>(lit) / inside;
}

TEST_F(SoftwareStaticFrame, WithoutPicturesTheGroundIsFlatUnderThreeFaintRings) {
    const Frame frame = staticFrame(1920, 1080);
    ASSERT_EQ(frame.width, 1920);
    const float cx = 960.0f;
    const float cy = 475.2f;
    // Everything away from the three radii is the ground colour.
    int stray = 0;
    for (int y = 0; y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x) {
            const double distance = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            const bool nearRing =
                std::abs(distance - 430) < 3 || std::abs(distance - 560) < 3 || std::abs(distance - 700) < 3;
            stray += !nearRing && colourDistance(frame.at(x, y), ground) > 0 ? 1 : 0;
        }
    }
    EXPECT_EQ(stray, 0);
    EXPECT_EQ(colourDistance(frame.at(5, 5), ground), 0);
    // Rings 1 and 2 share a colour at alpha 26, ring 3 is fainter at 15; ring 2 is dashed
    // (2 pen widths on, 10 off), the others solid. A one-pixel ring without anti-aliasing has
    // diagonal steps that some radial samples slip through, so a solid ring lights most, not all.
    const std::uint32_t ringColour = 0xFFC9A75Eu;
    EXPECT_GT(litShare(frame, cx, cy, 430.0f, blendOver(ringColour, 26, ground)), 0.85);
    const double dashed = litShare(frame, cx, cy, 560.0f, blendOver(ringColour, 26, ground));
    EXPECT_GT(dashed, 0.1);
    EXPECT_LT(dashed, 0.35);
    EXPECT_GT(litShare(frame, cx, cy, 700.0f, blendOver(ringColour, 15, ground)), 0.85);
    // Nothing at a radius between the rings.
    EXPECT_EQ(litShare(frame, cx, cy, 495.0f, blendOver(ringColour, 26, ground)), 0.0);
}

TEST_F(SoftwareStaticFrame, TheBackgroundIsStretchedOverTheWholeWindow) {
    setPictureSlots(true, false);
    const Frame frame = staticFrame(640, 480);
    const Frame picture = readPicture(backgroundPicture);
    const double perPixelX = 1920.0 / 640.0;
    const double perPixelY = 1080.0 / 480.0;
    int compared = 0;
    int mismatched = 0;
    int unscaledWouldDiffer = 0;
    const float cx = 320.0f;
    const float cy = 0.44f * 480.0f;
    const float scale = 480.0f / 1080.0f;
    for (int y = 2; y < 478; y += 9) {
        for (int x = 2; x < 638; x += 9) {
            const double distance = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            bool nearRing = false;
            for (const RingStyle& ring : ringStyles) {
                nearRing = nearRing || std::abs(distance - ring.radius * scale) < 3;
            }
            if (nearRing) {
                continue;
            }
            const std::uint32_t expected =
                picture.at(static_cast<int>((x + 0.5) * perPixelX), static_cast<int>((y + 0.5) * perPixelY));
            ++compared;
            mismatched += colourDistance(frame.at(x, y), expected) > 2 ? 1 : 0;
            unscaledWouldDiffer += colourDistance(picture.at(x, y), expected) > 4 ? 1 : 0;
        }
    }
    EXPECT_EQ(mismatched, 0) << "of " << compared;
    EXPECT_GT(unscaledWouldDiffer, compared / 4) << "the picture cannot tell stretched from unscaled";
}

TEST_F(SoftwareStaticFrame, FullScreenCardsSitAtTheirRectanglesOverTheBackground) {
    setPictureSlots(true, false);
    const Frame beneath = staticFrame(1920, 1080);
    setPictureSlots(true, true);
    const Frame frame = staticFrame(1920, 1080);
    captureFrame(frame, L"software-static-1920x1080");
    {
        SCOPED_TRACE("combined card");
        expectCardShown(compareCard(frame, beneath, readPicture(combinedCardPicture),
                                    {960.0f - 450.0f, 475.2f - 196.5f, 900.0f, 393.0f}, 3),
                        500, 20000);
    }
    {
        SCOPED_TRACE("help card");
        expectCardShown(
            compareCard(frame, beneath, readPicture(helpCardPicture), {1315.0f, 728.0f, 541.0f, 248.0f}, 2),
            5000, 100000);
    }
    {
        SCOPED_TRACE("wordmark");
        expectCardShown(
            compareCard(frame, beneath, readPicture(wordmarkPicture), {64.0f, 958.0f, 117.0f, 18.0f}, 1), 0,
            100);
    }
    // The logo and the tagline belong to the GL path only: their GL rectangles show the background.
    int covered = 0;
    for (int y = 56; y < 56 + 126; ++y) {
        for (int x = 64; x < 64 + 330; ++x) {
            covered += colourDistance(frame.at(x, y), beneath.at(x, y)) > 1 ? 1 : 0;
        }
    }
    for (int y = 840; y < 840 + 136; ++y) {
        for (int x = 64 + 117 + 4; x < 64 + 720; ++x) {
            covered += colourDistance(frame.at(x, y), beneath.at(x, y)) > 1 ? 1 : 0;
        }
    }
    EXPECT_EQ(covered, 0);
}

TEST_F(SoftwareStaticFrame, PreviewShowsOnlyTheCombinedCardSixtyTwoHundredthsOfTheWidthWide) {
    previewMode = true;
    const int sizes[][2] = {{152, 112}, {400, 150}};
    for (const auto& size : sizes) {
        const int width = size[0];
        const int height = size[1];
        SCOPED_TRACE(testing::Message() << width << " x " << height);
        setPictureSlots(true, false);
        const Frame beneath = staticFrame(width, height);
        setPictureSlots(true, true);
        const Frame frame = staticFrame(width, height);
        const float cardWidth = 0.62f * width;
        const float cardHeight = 786.0f * cardWidth / 1800.0f;
        const LayoutRect card = {0.5f * width - cardWidth / 2.0f, 0.44f * height - cardHeight / 2.0f,
                                 cardWidth, cardHeight};
        const CardComparison comparison =
            compareCard(frame, beneath, readPicture(combinedCardPicture), card, 1);
        EXPECT_EQ(comparison.outsideChanged, 0);
        EXPECT_LE(comparison.mismatched, comparison.compared / 20);
        // Outside the card nothing else is drawn: no help card, no wordmark.
        int changedOutside = 0;
        int changedInside = 0;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const bool inside = x >= card.x - 1 && x <= card.x + card.width + 1 && y >= card.y - 1 &&
                                    y <= card.y + card.height + 1;
                const bool changed = colourDistance(frame.at(x, y), beneath.at(x, y)) > 1;
                (inside ? changedInside : changedOutside) += changed ? 1 : 0;
            }
        }
        EXPECT_EQ(changedOutside, 0);
        EXPECT_GT(changedInside, static_cast<int>(card.width * card.height / 20)) << "the card does not show";
    }
}

} // namespace
