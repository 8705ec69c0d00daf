// The software frame's time-only values and its layout, as plain functions.

#include "software/software_layout.h"
#include "software/software_pass.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

struct Alphas {
    int a1, a2, a3;
};

Alphas alphasAt(double t) {
    const SoftwarePassValues values = softwarePassValues(t);
    return {values.arcAlpha[0], values.arcAlpha[1], values.arcAlpha[2]};
}

void expectAlphas(double t, Alphas expected) {
    const Alphas actual = alphasAt(t);
    EXPECT_EQ(actual.a1, expected.a1) << "t = " << t;
    EXPECT_EQ(actual.a2, expected.a2) << "t = " << t;
    EXPECT_EQ(actual.a3, expected.a3) << "t = " << t;
}

TEST(SoftwarePassValues, ArcsFadeInOverOneAndAHalfSecondsWithTruncatedAlphas) {
    expectAlphas(0.0, {0, 0, 0});
    expectAlphas(0.75, {105, 75, 40});
    // 80 / 3 = 26.67 truncates to 26, not 27.
    expectAlphas(0.5, {70, 50, 26});
    expectAlphas(1.0, {140, 100, 53});
    expectAlphas(1.5, {210, 150, 80});
    expectAlphas(600.0, {210, 150, 80});
    EXPECT_DOUBLE_EQ(softwarePassValues(0.75).fade, 0.5);
    EXPECT_DOUBLE_EQ(softwarePassValues(3.0).fade, 1.0);
}

TEST(SoftwarePassValues, GlowDotsAreASixthAsOpaqueAsTheirArcs) {
    const SoftwarePassValues full = softwarePassValues(1.5);
    EXPECT_EQ(full.glowAlpha[0], 35);
    EXPECT_EQ(full.glowAlpha[1], 25);
    EXPECT_EQ(full.glowAlpha[2], 13);
    const SoftwarePassValues start = softwarePassValues(0.0);
    EXPECT_EQ(start.glowAlpha[0] + start.glowAlpha[1] + start.glowAlpha[2], 0);
}

TEST(SoftwarePassValues, LeadAnglesStartApartAndTurnAtTheirOwnSpeeds) {
    const SoftwarePassValues start = softwarePassValues(0.0);
    EXPECT_DOUBLE_EQ(start.leadAngle[0], -90.0);
    EXPECT_DOUBLE_EQ(start.leadAngle[1], 140.0);
    EXPECT_DOUBLE_EQ(start.leadAngle[2], 20.0);
    // A quarter turn each: arc 1 clockwise in 4 s, arc 2 anticlockwise in 7 s, arc 3 clockwise in 11.5 s.
    EXPECT_NEAR(softwarePassValues(4.0).leadAngle[0], 0.0, 1e-9);
    EXPECT_NEAR(softwarePassValues(7.0).leadAngle[1], 50.0, 1e-9);
    EXPECT_NEAR(softwarePassValues(11.5).leadAngle[2], 110.0, 1e-9);
    // Whole turns bring every lead back to its start.
    EXPECT_NEAR(softwarePassValues(16.0).leadAngle[0], 270.0, 1e-9);
    EXPECT_NEAR(softwarePassValues(28.0).leadAngle[1], -220.0, 1e-9);
    EXPECT_NEAR(softwarePassValues(46.0).leadAngle[2], 380.0, 1e-9);
}

void expectRect(const CardPlacement& card, float x, float y, float width, float height) {
    EXPECT_TRUE(card.drawn);
    EXPECT_NEAR(card.rect.x, x, 1e-3);
    EXPECT_NEAR(card.rect.y, y, 1e-3);
    EXPECT_NEAR(card.rect.width, width, 1e-3);
    EXPECT_NEAR(card.rect.height, height, 1e-3);
}

const PictureSize combinedSize{1800, 786};
const PictureSize helpSize{1082, 496};
const PictureSize wordmarkSize{234, 36};

TEST(SoftwareLayout, FullHdPutsTheCardsAroundTheRingCentreAndInTheBottomCorners) {
    const LayoutPoint centre = ringCentre(1920, 1080);
    EXPECT_FLOAT_EQ(centre.x, 960.0f);
    EXPECT_NEAR(centre.y, 475.2f, 1e-3);
    const SoftwareCards cards = softwareCards(1920, 1080, 1.0f, combinedSize, helpSize, wordmarkSize, false);
    expectRect(cards.combined, 510.0f, 278.7f, 900.0f, 393.0f);
    expectRect(cards.help, 1315.0f, 728.0f, 541.0f, 248.0f);
    expectRect(cards.wordmark, 64.0f, 958.0f, 117.0f, 18.0f);
}

TEST(SoftwareLayout, LargerAndPortraitScreensScaleEverything) {
    // At scale 2 the help card lands where the GL path puts it on a 4K screen.
    const SoftwareCards large = softwareCards(3840, 2160, 2.0f, combinedSize, helpSize, wordmarkSize, false);
    expectRect(large.help, 2630.0f, 1456.0f, 1082.0f, 496.0f);
    expectRect(large.wordmark, 128.0f, 1916.0f, 234.0f, 36.0f);
    // Portrait 1080 x 1920: scale 1080 / 1920; the rings sit 0.44 down the tall window.
    const float portrait = 1080.0f / 1920.0f;
    const LayoutPoint centre = ringCentre(1080, 1920);
    EXPECT_FLOAT_EQ(centre.x, 540.0f);
    EXPECT_NEAR(centre.y, 844.8f, 1e-3);
    const SoftwareCards tall =
        softwareCards(1080, 1920, portrait, combinedSize, helpSize, wordmarkSize, false);
    EXPECT_NEAR(tall.help.rect.x + tall.help.rect.width, 1080.0f - 36.0f, 1e-3);
    EXPECT_NEAR(tall.help.rect.y + tall.help.rect.height, 1920.0f - 58.5f, 1e-3);
    EXPECT_NEAR(tall.combined.rect.width, 506.25f, 1e-3);
}

TEST(SoftwareLayout, PreviewShowsOnlyTheCombinedCardAtSixtyTwoHundredthsOfTheWidth) {
    const SoftwareCards cards =
        softwareCards(152, 112, 112.0f / 1080.0f, combinedSize, helpSize, wordmarkSize, true);
    EXPECT_FALSE(cards.help.drawn);
    EXPECT_FALSE(cards.wordmark.drawn);
    const float width = 0.62f * 152.0f;
    const float height = 786.0f * width / 1800.0f;
    expectRect(cards.combined, 76.0f - width / 2.0f, 49.28f - height / 2.0f, width, height);
    // Not the half-size rule: a wide, low preview makes the difference plain.
    const SoftwareCards wide =
        softwareCards(400, 150, 150.0f / 1080.0f, combinedSize, helpSize, wordmarkSize, true);
    EXPECT_NEAR(wide.combined.rect.width, 248.0f, 1e-3);
    EXPECT_NEAR(wide.combined.rect.x, 76.0f, 1e-3);
}

TEST(SoftwareLayout, MissingPicturesAreNotPlaced) {
    const SoftwareCards none =
        softwareCards(1920, 1080, 1.0f, std::nullopt, std::nullopt, std::nullopt, false);
    EXPECT_FALSE(none.combined.drawn);
    EXPECT_FALSE(none.help.drawn);
    EXPECT_FALSE(none.wordmark.drawn);
    const SoftwareCards onlyHelp =
        softwareCards(1920, 1080, 1.0f, std::nullopt, helpSize, std::nullopt, false);
    EXPECT_TRUE(onlyHelp.help.drawn);
    EXPECT_FALSE(softwareCards(152, 112, 0.1f, std::nullopt, helpSize, wordmarkSize, true).combined.drawn);
}

TEST(SoftwareLayout, RingPensNeverGetThinnerThanOnePixel) {
    EXPECT_FLOAT_EQ(ringPenWidth(112.0f / 1080.0f), 1.0f);
    EXPECT_FLOAT_EQ(ringPenWidth(1.0f), 1.0f);
    EXPECT_FLOAT_EQ(ringPenWidth(2.0f), 2.0f);
    // Arcs run on the rings of the same index.
    for (int index = 0; index < 3; ++index) {
        EXPECT_FLOAT_EQ(arcStyles[index].radius, ringStyles[index].radius);
    }
}

TEST(GlowArcGeometry, ArcsTrailingBackwardsStartAtTheTailAndOthersAtTheLead) {
    // Arc 1 at t = 0: lead straight up, tail 80 degrees anticlockwise of it.
    const GlowArcGeometry up = glowArcGeometry(960.0f, 475.2f, 430.0f, -90.0, 80.0f, true);
    EXPECT_FLOAT_EQ(up.startAngle, -170.0f);
    EXPECT_NEAR(up.lead.x, 960.0f, 1e-3);
    EXPECT_NEAR(up.lead.y, 45.2f, 1e-3);
    EXPECT_NEAR(up.tail.x, 960.0f + 430.0f * std::cos(-170.0 * std::numbers::pi / 180.0), 1e-3);
    EXPECT_NEAR(up.tail.y, 475.2f + 430.0f * std::sin(-170.0 * std::numbers::pi / 180.0), 1e-3);
    // Arc 2 at t = 0: lead at 140 degrees (lower left), tail ahead of it at 185 degrees.
    const GlowArcGeometry forward = glowArcGeometry(100.0f, 100.0f, 50.0f, 140.0, 45.0f, false);
    EXPECT_FLOAT_EQ(forward.startAngle, 140.0f);
    EXPECT_LT(forward.lead.x, 100.0f);
    EXPECT_GT(forward.lead.y, 100.0f);
    EXPECT_NEAR(forward.tail.x, 100.0f + 50.0f * std::cos(185.0 * std::numbers::pi / 180.0), 1e-3);
    EXPECT_NEAR(forward.tail.y, 100.0f + 50.0f * std::sin(185.0 * std::numbers::pi / 180.0), 1e-3);
}

} // namespace
