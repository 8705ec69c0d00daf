// The software frame's time-only values and its layout, as plain functions.

#include "software/software_layout.h"
#include "software/software_pass.h"

#include <gtest/gtest.h>

namespace {

TEST(SoftwarePassValues, ArcsFadeInOverOneAndAHalfSecondsWithTruncatedAlphasAndSixthAsOpaqueGlows) {
    // 80 / 3 = 26.67 at 0.5 s truncates to 26, not 27; glows are a sixth, truncated too.
    const struct {
        double t, fade;
        int arc[3], glow[3];
    } cases[] = {
        {0.0, 0.0, {0, 0, 0}, {0, 0, 0}},         {0.5, 1.0 / 3.0, {70, 50, 26}, {11, 8, 4}},
        {0.75, 0.5, {105, 75, 40}, {17, 12, 6}},  {1.0, 2.0 / 3.0, {140, 100, 53}, {23, 16, 8}},
        {1.5, 1.0, {210, 150, 80}, {35, 25, 13}}, {600.0, 1.0, {210, 150, 80}, {35, 25, 13}},
    };
    for (const auto& expected : cases) {
        SCOPED_TRACE(testing::Message() << "t = " << expected.t);
        const SoftwarePassValues values = softwarePassValues(expected.t);
        EXPECT_NEAR(values.fade, expected.fade, 1e-12);
        for (int arc = 0; arc < 3; ++arc) {
            EXPECT_EQ(values.arcAlpha[arc], expected.arc[arc]) << "arc " << arc + 1;
            EXPECT_EQ(values.glowAlpha[arc], expected.glow[arc]) << "arc " << arc + 1;
        }
    }
}

TEST(SoftwarePassValues, LeadAnglesStartApartAndTurnAtTheirOwnSpeeds) {
    // Arc 1 clockwise once in 16 s from the top, arc 2 anticlockwise in 28 s from 140 degrees, arc 3
    // clockwise in 46 s from 20 degrees: start, a quarter turn, a whole turn.
    const struct {
        int arc;
        double t, degrees;
    } cases[] = {
        {0, 0.0, -90.0}, {0, 4.0, 0.0},  {0, 16.0, 270.0}, {1, 0.0, 140.0},  {1, 7.0, 50.0},
        {1, 28.0, -220}, {2, 0.0, 20.0}, {2, 11.5, 110.0}, {2, 46.0, 380.0},
    };
    for (const auto& expected : cases) {
        EXPECT_NEAR(softwarePassValues(expected.t).leadAngle[expected.arc], expected.degrees, 1e-9)
            << "arc " << expected.arc + 1 << " at t = " << expected.t;
    }
}

void expectRect(const CardPlacement& card, LayoutRect expected) {
    EXPECT_TRUE(card.drawn);
    EXPECT_NEAR(card.rect.x, expected.x, 1e-3);
    EXPECT_NEAR(card.rect.y, expected.y, 1e-3);
    EXPECT_NEAR(card.rect.width, expected.width, 1e-3);
    EXPECT_NEAR(card.rect.height, expected.height, 1e-3);
}

const PictureSize combinedSize{1800, 786};
const PictureSize helpSize{1082, 496};
const PictureSize wordmarkSize{234, 36};

SoftwareCards fullScreenCards(int width, int height, float scale) {
    return softwareCards(width, height, scale, combinedSize, helpSize, wordmarkSize, false);
}

TEST(SoftwareLayout, FullScreenCardsSitAroundTheRingCentreAndInTheBottomCornersAtAnyScale) {
    EXPECT_FLOAT_EQ(ringCentre(1920, 1080).x, 960.0f);
    EXPECT_NEAR(ringCentre(1920, 1080).y, 475.2f, 1e-3);
    const SoftwareCards hd = fullScreenCards(1920, 1080, 1.0f);
    expectRect(hd.combined, {510.0f, 278.7f, 900.0f, 393.0f});
    expectRect(hd.help, {1315.0f, 728.0f, 541.0f, 248.0f});
    expectRect(hd.wordmark, {64.0f, 958.0f, 117.0f, 18.0f});
    // At scale 2 the help card lands where the GL path puts it on a 4K screen.
    const SoftwareCards large = fullScreenCards(3840, 2160, 2.0f);
    expectRect(large.help, {2630.0f, 1456.0f, 1082.0f, 496.0f});
    expectRect(large.wordmark, {128.0f, 1916.0f, 234.0f, 36.0f});
    // Portrait 1080 x 1920 at scale 1080 / 1920: the rings sit 0.44 down the tall window.
    EXPECT_NEAR(ringCentre(1080, 1920).y, 844.8f, 1e-3);
    const SoftwareCards tall = fullScreenCards(1080, 1920, 1080.0f / 1920.0f);
    expectRect(tall.help, {1080.0f - 36.0f - 304.3125f, 1920.0f - 58.5f - 139.5f, 304.3125f, 139.5f});
    EXPECT_NEAR(tall.combined.rect.width, 506.25f, 1e-3);
}

TEST(SoftwareLayout, MissingPicturesAreNotPlacedAndRingPensKeepOnePixel) {
    const SoftwareCards onlyHelp =
        softwareCards(1920, 1080, 1.0f, std::nullopt, helpSize, std::nullopt, false);
    EXPECT_FALSE(onlyHelp.combined.drawn);
    EXPECT_TRUE(onlyHelp.help.drawn);
    EXPECT_FALSE(onlyHelp.wordmark.drawn);
    EXPECT_FALSE(softwareCards(1920, 1080, 1.0f, combinedSize, std::nullopt, std::nullopt, false).help.drawn);
    EXPECT_FALSE(softwareCards(152, 112, 0.1f, std::nullopt, helpSize, wordmarkSize, true).combined.drawn);
    EXPECT_FLOAT_EQ(ringPenWidth(112.0f / 1080.0f), 1.0f);
    EXPECT_FLOAT_EQ(ringPenWidth(2.0f), 2.0f);
    for (int index = 0; index < 3; ++index) {
        EXPECT_FLOAT_EQ(arcStyles[index].radius, ringStyles[index].radius) << "arcs run on their rings";
    }
}

} // namespace
