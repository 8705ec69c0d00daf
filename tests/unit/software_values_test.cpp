// The software frame's time-only values and its layout, as plain functions.

#include "software/software_layout.h"
#include "software/software_pass.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>

namespace {

// Full alphas 210, 150, 80 reached at 1.5 s, truncated (80 / 3 = 26.67 gives 26); glows a sixth of
// the arc's, truncated too (80 / 6 = 13.3 gives 13).
TEST(SoftwarePassValues, ArcsFadeInOverOneAndAHalfSecondsAndGlowsAreASixthAsOpaque) {
    const SoftwarePassValues early = softwarePassValues(0.5), late = softwarePassValues(600.0);
    EXPECT_EQ(std::to_array(early.arcAlpha), (std::array<std::uint8_t, 3>{70, 50, 26}));
    EXPECT_EQ(std::to_array(late.arcAlpha), (std::array<std::uint8_t, 3>{210, 150, 80}));
    EXPECT_EQ(std::to_array(late.glowAlpha), (std::array<std::uint8_t, 3>{35, 25, 13}));
}

// Arc 1 clockwise once in 16 s from the top (-90 degrees), arc 2 anticlockwise once in 28 s from
// 140, arc 3 clockwise once in 46 s from 20: the start and a quarter turn of each.
TEST(SoftwarePassValues, LeadAnglesStartApartAndTurnAtTheirOwnSpeeds) {
    const std::tuple<int, double, double> cases[] = {{0, 0.0, -90.0}, {0, 4.0, 0.0},  {1, 0.0, 140.0},
                                                     {1, 7.0, 50.0},  {2, 0.0, 20.0}, {2, 11.5, 110.0}};
    for (auto [arc, t, degrees] : cases) {
        EXPECT_NEAR(softwarePassValues(t).leadAngle[arc], degrees, 1e-9) << "arc " << arc + 1 << " at " << t;
    }
    // 605,360 s (about a week) is 235 x 2576 s, whole turns of all three arcs; it and 5.25 are exact
    // doubles, so angles kept within their turn come out bit for bit the same.
    EXPECT_EQ(std::to_array(softwarePassValues(5.25).leadAngle),
              std::to_array(softwarePassValues(5.25 + 605360.0).leadAngle));
}

// Whether the card is drawn, then x, y, width and height in tenths of a pixel.
std::array<long, 5> tenths(const CardPlacement& card) {
    return {card.drawn, std::lround(card.rect.x * 10), std::lround(card.rect.y * 10),
            std::lround(card.rect.width * 10), std::lround(card.rect.height * 10)};
}

// Pictures of 1800 x 786 (combined), 1082 x 496 (help) and 234 x 36 (wordmark); the frame test pins
// scale 1. At scale 2 the help card is at half size times 2, 64 x 2 pixels from the right and
// 104 x 2 from the bottom. Preview: the combined card alone, 0.62 of the width wide, centred on the
// rings at (0.5, 0.44) of the window. A missing picture is not placed.
TEST(SoftwareLayout, CardsScaleFromTheBottomCornerAndThePreviewShowsTheCombinedCardAlone) {
    const PictureSize combined{1800, 786}, help{1082, 496}, wordmark{234, 36};
    const SoftwareCards large = softwareCards(3840, 2160, 2.0f, combined, help, wordmark, false);
    EXPECT_EQ(tenths(large.help), (std::array<long, 5>{1, 26300, 14560, 10820, 4960}));
    const SoftwareCards preview = softwareCards(152, 112, 0.1f, combined, help, wordmark, true);
    EXPECT_EQ(tenths(preview.combined), (std::array<long, 5>{1, 289, 287, 942, 412}));
    EXPECT_FALSE(preview.help.drawn || preview.wordmark.drawn);
    EXPECT_FALSE(softwareCards(1920, 1080, 1.0f, std::nullopt, help, wordmark, false).combined.drawn);
    // Ring pens follow the scale but keep one pixel.
    EXPECT_EQ(std::pair(ringPenWidth(0.1f), ringPenWidth(2.0f)), std::pair(1.0f, 2.0f));
}

} // namespace
