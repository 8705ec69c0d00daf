// The static frame of the software path, read back from its DIB section: ground, background,
// rings and picture cards where the layout puts them.

#include "shell/saver_state.h"
#include "software/software_layout.h"
#include "software_test_support.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace {

constexpr std::uint32_t ground = 0xFF07090Du;

Frame staticFrame(int width, int height) {
    ScreenSurface* surface = openSoftwareSurface(width, height);
    Frame frame = readBitmap(surface->staticBitmap);
    closeSoftwareSurface(surface);
    return frame;
}

// A premultiplied colour over an opaque pixel, as GDI+ blends it.
std::uint32_t pictureOver(std::uint32_t picture, std::uint32_t beneath) {
    std::uint32_t blended = 0xFF000000u;
    for (int shift : {16, 8, 0}) {
        const int rest = (channel(beneath, shift) * (255 - channel(picture, 24)) + 127) / 255;
        blended |= static_cast<std::uint32_t>(std::min(255, channel(picture, shift) + rest)) << shift;
    }
    return blended;
}

// The rings' colour at `alpha` over the ground.
std::uint32_t ringOverGround(int alpha) {
    return pictureOver(static_cast<std::uint32_t>(alpha) << 24 | (0xC9 * alpha / 255) << 16 |
                           (0xA7 * alpha / 255) << 8 | (0x5E * alpha / 255),
                       ground);
}

// The share of angles, over the part of the circle well inside the frame, where a pixel within two
// pixels of the radius has the expected colour.
double litShare(const Frame& frame, float cx, float cy, float radius, std::uint32_t expected) {
    int inside = 0;
    int lit = 0;
    for (double degrees = 0.0; degrees < 360.0; degrees += 0.25) {
        const double c = std::cos(degrees * std::numbers::pi / 180.0);
        const double s = std::sin(degrees * std::numbers::pi / 180.0);
        if (cx + radius * c < 4 || cy + radius * s < 4 || cx + radius * c > frame.width - 5 ||
            cy + radius * s > frame.height - 5) {
            continue;
        }
        ++inside;
        bool found = false;
        for (float r = radius - 2.0f; r <= radius + 2.0f && !found; r += 0.5f) {
            const int x = static_cast<int>(std::floor(cx + r * c));
            const int y = static_cast<int>(std::floor(cy + r * s));
            found = colourDistance(frame.at(x, y), expected) <= 2;
        }
        lit += found ? 1 : 0;
    }
    return inside == 0 ? 0.0 : static_cast<double>(lit) / inside;
}

// The whole pixels a card rectangle touches, widened by one pixel up and left for anti-aliasing.
struct PixelBox {
    int left, top, right, bottom;
    explicit PixelBox(LayoutRect rect)
        : left(static_cast<int>(std::ceil(rect.x))), top(static_cast<int>(std::ceil(rect.y))),
          right(static_cast<int>(std::floor(rect.x + rect.width))),
          bottom(static_cast<int>(std::floor(rect.y + rect.height))) {}
    bool holds(int x, int y) const { return x >= left - 1 && x <= right && y >= top - 1 && y <= bottom; }
};

// Checks the card drawn into `frame` at `rect` against `picture` composited over `beneath`, sampling
// only where the picture is flat enough for any resampling to agree.
void expectCard(const Frame& frame, const Frame& beneath, EmbeddedImage* source, LayoutRect rect, int step,
                int minimumVisible, int minimumChanged, int mismatchDivisor) {
    const Frame picture = readPicture(source);
    const double perPixelX = picture.width / rect.width;
    const double perPixelY = picture.height / rect.height;
    const int reach = static_cast<int>(std::ceil(std::max(perPixelX, perPixelY))) + 1;
    const PixelBox box(rect);
    int compared = 0;
    int visible = 0;
    int mismatched = 0;
    for (int y = box.top + 2; y < box.bottom - 2; y += step) {
        for (int x = box.left + 2; x < box.right - 2; x += step) {
            const int sx = static_cast<int>((x + 0.5 - rect.x) * perPixelX);
            const int sy = static_cast<int>((y + 0.5 - rect.y) * perPixelY);
            const std::uint32_t centre = picture.at(sx, sy);
            bool flat = true;
            for (int dy = -reach; dy <= reach && flat; ++dy) {
                for (int dx = -reach; dx <= reach && flat; ++dx) {
                    const std::uint32_t other = picture.at(std::clamp(sx + dx, 0, picture.width - 1),
                                                           std::clamp(sy + dy, 0, picture.height - 1));
                    flat = colourDistance(other, centre) <= 3 &&
                           std::abs(channel(other, 24) - channel(centre, 24)) <= 3;
                }
            }
            if (flat) {
                const std::uint32_t expected = pictureOver(centre, beneath.at(x, y));
                ++compared;
                visible += colourDistance(expected, beneath.at(x, y)) > 24 ? 1 : 0;
                mismatched += colourDistance(expected, frame.at(x, y)) > 6 ? 1 : 0;
            }
        }
    }
    EXPECT_GT(compared, 0);
    EXPECT_GE(visible, minimumVisible) << "the card's picture does not show";
    EXPECT_GE(changedPixels(frame, beneath, box.left, box.top, box.right, box.bottom, 8), minimumChanged)
        << "the card's picture does not show";
    EXPECT_LE(mismatched, compared / mismatchDivisor) << "of " << compared << " samples";
}

// Pixels changed by more than rounding outside all of the given card rectangles.
int changedOutside(const Frame& frame, const Frame& beneath, std::vector<LayoutRect> cards) {
    int changed = 0;
    for (int y = 0; y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x) {
            const bool onCard = std::any_of(cards.begin(), cards.end(),
                                            [&](LayoutRect card) { return PixelBox(card).holds(x, y); });
            changed += !onCard && colourDistance(frame.at(x, y), beneath.at(x, y)) > 1 ? 1 : 0;
        }
    }
    return changed;
}

using SoftwareStaticFrame = SoftwareTest;

TEST_F(SoftwareStaticFrame, WithoutPicturesTheGroundIsFlatUnderThreeFaintRings) {
    const Frame frame = staticFrame(1920, 1080);
    ASSERT_EQ(frame.width, 1920);
    const float cx = 960.0f;
    const float cy = 475.2f;
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
    // Rings 1 and 2 at alpha 26, ring 3 fainter at 15; ring 2 dashed (2 pen widths on, 10 off). A
    // one-pixel ring without anti-aliasing has diagonal steps that some radial samples slip through.
    EXPECT_GT(litShare(frame, cx, cy, 430.0f, ringOverGround(26)), 0.85);
    const double dashed = litShare(frame, cx, cy, 560.0f, ringOverGround(26));
    EXPECT_GT(dashed, 0.1);
    EXPECT_LT(dashed, 0.35);
    EXPECT_GT(litShare(frame, cx, cy, 700.0f, ringOverGround(15)), 0.85);
    EXPECT_EQ(litShare(frame, cx, cy, 495.0f, ringOverGround(26)), 0.0);
}

TEST_F(SoftwareStaticFrame, TheBackgroundIsStretchedOverTheWholeWindow) {
    setPictureSlots(true, false);
    const Frame frame = staticFrame(640, 480);
    const Frame picture = readPicture(backgroundPicture);
    const float scale = 480.0f / 1080.0f;
    int compared = 0;
    int mismatched = 0;
    int unscaledWouldDiffer = 0;
    for (int y = 2; y < 478; y += 9) {
        for (int x = 2; x < 638; x += 9) {
            const double distance = std::hypot(x + 0.5 - 320.0, y + 0.5 - 0.44 * 480.0);
            if (std::any_of(std::begin(ringStyles), std::end(ringStyles), [&](const RingStyle& ring) {
                    return std::abs(distance - ring.radius * scale) < 3;
                })) {
                continue;
            }
            const std::uint32_t expected =
                picture.at(static_cast<int>((x + 0.5) * 3.0), static_cast<int>((y + 0.5) * 2.25));
            ++compared;
            mismatched += colourDistance(frame.at(x, y), expected) > 2 ? 1 : 0;
            unscaledWouldDiffer += colourDistance(picture.at(x, y), expected) > 4 ? 1 : 0;
        }
    }
    EXPECT_EQ(mismatched, 0) << "of " << compared;
    EXPECT_GT(unscaledWouldDiffer, compared / 4) << "the picture cannot tell stretched from unscaled";
}

TEST_F(SoftwareStaticFrame, FullScreenCardsSitAtTheirRectanglesAndNothingElseIsDrawn) {
    setPictureSlots(true, false);
    const Frame beneath = staticFrame(1920, 1080);
    setPictureSlots(true, true);
    const Frame frame = staticFrame(1920, 1080);
    const LayoutRect combined = {510.0f, 278.7f, 900.0f, 393.0f};
    const LayoutRect help = {1315.0f, 728.0f, 541.0f, 248.0f};
    const LayoutRect wordmark = {64.0f, 958.0f, 117.0f, 18.0f};
    {
        SCOPED_TRACE("combined card");
        expectCard(frame, beneath, combinedCardPicture, combined, 3, 500, 20000, 100);
    }
    {
        SCOPED_TRACE("help card");
        expectCard(frame, beneath, helpCardPicture, help, 2, 5000, 100000, 100);
    }
    {
        SCOPED_TRACE("wordmark");
        expectCard(frame, beneath, wordmarkPicture, wordmark, 1, 0, 100, 100);
    }
    // The logo and the tagline belong to the GL path only.
    EXPECT_EQ(changedOutside(frame, beneath, {combined, help, wordmark}), 0);
}

TEST_F(SoftwareStaticFrame, PreviewShowsOnlyTheCombinedCardSixtyTwoHundredthsOfTheWidthWide) {
    previewMode = true;
    for (const auto& [width, height] : {std::pair{152, 112}, std::pair{400, 150}}) {
        SCOPED_TRACE(testing::Message() << width << " x " << height);
        setPictureSlots(true, false);
        const Frame beneath = staticFrame(width, height);
        setPictureSlots(true, true);
        const Frame frame = staticFrame(width, height);
        const float cardWidth = 0.62f * width;
        const float cardHeight = 786.0f * cardWidth / 1800.0f;
        const LayoutRect card = {0.5f * width - cardWidth / 2.0f, 0.44f * height - cardHeight / 2.0f,
                                 cardWidth, cardHeight};
        expectCard(frame, beneath, combinedCardPicture, card, 1, 0,
                   static_cast<int>(cardWidth * cardHeight / 20), 20);
        EXPECT_EQ(changedOutside(frame, beneath, {card}), 0) << "no help card, no wordmark";
    }
}

} // namespace
