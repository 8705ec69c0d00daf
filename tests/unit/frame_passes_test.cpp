#include "assets/pictures.h"
#include "frame_fixture.h"
#include "gl/card_layout.h"
#include "gl/gl_frame.h"
#include "shell/frame_pacing.h"
#include "shell/saver_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cstdlib>

namespace {

// The composite's vignette factor, worked out from its definition for a pixel centre.
double vignetteFactor(double x, double yFromBottom, int width, int height) {
    const double aspect = static_cast<double>(width) / height;
    const double u = (x + 0.5) / width - 0.5;
    const double v = (yFromBottom + 0.5) / height - 0.5;
    const double d = std::sqrt(u * aspect * u * aspect + v * v);
    const double k = std::clamp((d - 1.35) / (0.35 - 1.35), 0.0, 1.0);
    return 0.55 + 0.45 * k * k * (3.0 - 2.0 * k);
}

class CompositeTest : public ::testing::Test {
  protected:
    void open(int width, int height) { ASSERT_TRUE(openFrameFixture(fixture, width, height)); }
    void TearDown() override { closeFrameFixture(fixture); }
    // The composite alone over a point target and bloom of chosen flat colours.
    Image composite(float saverTime, float sceneValue) {
        const ScreenSurface& s = fixture.surface;
        fillTarget(s.sceneFramebuffer, s.sceneWidth, s.sceneHeight, sceneValue, sceneValue, sceneValue);
        fillTarget(s.bloomFramebufferB, s.bloomWidth, s.bloomHeight, 0.0f, 0.0f, 0.0f);
        drawCompositePass(s, saverTime, fixture.outputFramebuffer);
        return readOutput(fixture);
    }
    FrameFixture fixture;
};

TEST_F(CompositeTest, TheWholeFrameIsBlackAtTimeZero) {
    open(320, 180);
    previewMode = false;
    renderGlFrame(fixture.surface, 0.0f, cardFade(0.0), fixture.outputFramebuffer);
    const Image image = readOutput(fixture);
    for (size_t i = 0; i < image.rgba.size(); i += 4) {
        ASSERT_EQ(image.rgba[i] | image.rgba[i + 1] | image.rgba[i + 2], 0) << "pixel " << i / 4;
    }
}

TEST_F(CompositeTest, EmptySceneShowsTheBackgroundWithItsWarmGlow) {
    open(1920, 1080);
    const Image image = composite(5.0f, 0.0f);
    // uv (0.5, 0.56): inner colour plus the full glow, (0.075, 0.090, 0.125) + 0.18 x (0.20, 0.15, 0.07).
    const double expected[3] = {0.111 * 255, 0.117 * 255, 0.1376 * 255};
    const std::uint8_t* pixel = image.at(960, 1080 - 1 - 604);
    for (int c = 0; c < 3; ++c) {
        EXPECT_NEAR(pixel[c], expected[c], 1.3) << "channel " << c;
    }
    // Darker towards the edges, and bluish everywhere.
    const std::uint8_t* edge = image.at(40, 540);
    EXPECT_LT(edge[0] + edge[1] + edge[2], pixel[0] + pixel[1] + pixel[2]);
    EXPECT_GT(edge[2], edge[0]);
}

TEST_F(CompositeTest, VignetteDarkensTheFarCornersToFiftyFivePercent) {
    // Only a window wider than about 2.5:1 reaches the vignette's floor in its corners.
    open(2600, 1000);
    const Image wide = composite(5.0f, 100.0f); // the tone map saturates: colour 1.0 before the vignette
    for (const auto& [x, y] :
         {std::pair{0, 0}, std::pair{2599, 0}, std::pair{0, 999}, std::pair{2599, 999}}) {
        EXPECT_NEAR(wide.at(x, y)[0], 0.55 * 255, 1.3) << x << "," << y;
    }
    EXPECT_GE(wide.at(1300, 500)[1], 254);
    closeFrameFixture(fixture);

    open(1920, 1080);
    const Image normal = composite(5.0f, 100.0f);
    EXPECT_NEAR(normal.at(0, 0)[0], vignetteFactor(0, 1079, 1920, 1080) * 255, 1.3);
    EXPECT_NEAR(normal.at(1919, 1079)[2], vignetteFactor(1919, 0, 1920, 1080) * 255, 1.3);
}

TEST_F(CompositeTest, GrainIsSmallSharedByTheChannelsAndChangesWithTime) {
    open(1920, 1080);
    // A flat grey before the grain, where the vignette holds it below white.
    const Image first = composite(5.25f, 100.0f);
    const Image second = composite(5.5f, 100.0f);
    int changed = 0;
    int varied = 0;
    for (int y = 2; y < 1080; y += 37) {
        for (int x = 3; x < 1920; x += 41) {
            const double before = vignetteFactor(x, 1079 - y, 1920, 1080) * 255;
            if (before > 250) {
                continue;
            }
            const std::uint8_t* pixel = first.at(x, y);
            EXPECT_EQ(pixel[0], pixel[1]) << x << "," << y;
            EXPECT_EQ(pixel[1], pixel[2]) << x << "," << y;
            EXPECT_LE(std::abs(pixel[0] - before), 0.75 + 0.5 + 1e-3) << x << "," << y;
            varied += std::lround(before) != pixel[0];
            changed += second.at(x, y)[0] != pixel[0];
        }
    }
    EXPECT_GT(varied, 50) << "some grain must be visible";
    EXPECT_GT(changed, 50) << "the grain pattern changes from frame to frame";
}

// Card tests: the frame without cards is read first, then the card pass runs over it.
class CardTest : public ::testing::Test {
  protected:
    void open(int width, int height) { ASSERT_TRUE(openFrameFixture(fixture, width, height)); }
    void TearDown() override {
        previewMode = false;
        closeFrameFixture(fixture);
    }
    void renderBeneathThenCards(float saverTime, float fade) {
        previewMode = true;
        renderGlFrame(fixture.surface, saverTime, fade, fixture.outputFramebuffer);
        beneath = readOutput(fixture);
        previewMode = false;
        drawCardPass(fixture.surface, fade);
        withCards = readOutput(fixture);
    }
    // The picture's premultiplied pixel (B, G, R, A bytes) at picture coordinates.
    static void picturePixel(EmbeddedImage* picture, int x, int y, double bgra[4]) {
        Gdiplus::Color color;
        picture->GetPixel(x, y, &color);
        // GetPixel unpremultiplies; premultiply again as the texture holds it.
        const double alpha = color.GetA() / 255.0;
        bgra[0] = color.GetB() * alpha;
        bgra[1] = color.GetG() * alpha;
        bgra[2] = color.GetR() * alpha;
        bgra[3] = color.GetA();
    }
    FrameFixture fixture;
    Image beneath;
    Image withCards;
};

TEST_F(CardTest, AtTwiceTheLayoutScaleEveryCardPixelIsItsPictureOverTheFrame) {
    open(3840, 2160);
    renderBeneathThenCards(5.0f, 1.0f);
    struct Placed {
        EmbeddedImage* picture;
        int left, top;
    };
    const Placed cards[] = {
        {logoPicture, 128, 112}, {taglinePicture, 128, 1680}, {helpCardPicture, 2630, 1456}};
    for (const Placed& card : cards) {
        const int width = static_cast<int>(card.picture->GetWidth());
        const int height = static_cast<int>(card.picture->GetHeight());
        int worst = 0;
        for (int py = 0; py < height; py += 7) {
            for (int px = 0; px < width; px += 5) {
                double texel[4];
                picturePixel(card.picture, px, py, texel);
                const std::uint8_t* under = beneath.at(card.left + px, card.top + py);
                const std::uint8_t* over = withCards.at(card.left + px, card.top + py);
                for (int c = 0; c < 3; ++c) {
                    const double expected = texel[2 - c] + under[c] * (1.0 - texel[3] / 255.0);
                    worst = std::max(worst, static_cast<int>(std::lround(std::abs(over[c] - expected))));
                }
            }
        }
        EXPECT_LE(worst, 2) << "card at " << card.left << "," << card.top;
        // Just outside the card, nothing changed.
        for (const auto& [x, y] :
             {std::pair{card.left - 1, card.top + 5}, std::pair{card.left + 5, card.top - 1},
              std::pair{card.left + width, card.top + 5}, std::pair{card.left + 5, card.top + height}}) {
            EXPECT_EQ(0, std::memcmp(beneath.at(x, y), withCards.at(x, y), 3)) << x << "," << y;
        }
    }
}

TEST_F(CardTest, AtNormalScaleCardsSitAtTheirRectanglesAtHalfSize) {
    open(1920, 1080);
    renderBeneathThenCards(5.0f, 1.0f);
    // The help card's panel is light and opaque: its inside is the picture averaged 2 x 2.
    const CardRect help = cardRect(helpCard, 1082, 496, 1920, 1080, 1.0f);
    EXPECT_FLOAT_EQ(help.x, 1315.0f);
    EXPECT_FLOAT_EQ(help.y, 728.0f);
    for (const auto& [x, y] : {std::pair{1320, 735}, std::pair{1700, 960}, std::pair{1850, 900}}) {
        double sum[4] = {};
        for (int dy = 0; dy < 2; ++dy) {
            for (int dx = 0; dx < 2; ++dx) {
                double texel[4];
                picturePixel(helpCardPicture, 2 * (x - 1315) + dx, 2 * (y - 728) + dy, texel);
                for (int c = 0; c < 4; ++c) {
                    sum[c] += texel[c] / 4.0;
                }
            }
        }
        const std::uint8_t* under = beneath.at(x, y);
        for (int c = 0; c < 3; ++c) {
            EXPECT_NEAR(withCards.at(x, y)[c], sum[2 - c] + under[c] * (1.0 - sum[3] / 255.0), 2.0)
                << x << "," << y;
        }
    }
    // The logo at (64, 56) 330 x 126 and the tagline at (64, 840) 720 x 136: changed inside somewhere,
    // unchanged just outside.
    auto changedPixels = [&](int left, int top, int width, int height) {
        int count = 0;
        for (int y = top; y < top + height; y += 3) {
            for (int x = left; x < left + width; x += 3) {
                count += std::memcmp(beneath.at(x, y), withCards.at(x, y), 3) != 0;
            }
        }
        return count;
    };
    EXPECT_GT(changedPixels(64, 56, 330, 126), 300);
    EXPECT_GT(changedPixels(64, 840, 720, 136), 300);
    EXPECT_EQ(changedPixels(0, 0, 64, 1080), 0);
    EXPECT_EQ(changedPixels(64, 0, 330, 56), 0);
    EXPECT_EQ(changedPixels(400, 200, 900, 500), 0) << "the middle of the window stays free";
}

TEST_F(CardTest, CardsFadeInFromPointFourSeconds) {
    open(1920, 1080);
    renderBeneathThenCards(0.4f, cardFade(0.4));
    EXPECT_EQ(beneath.rgba, withCards.rgba) << "fade 0: the draws are issued but change nothing";

    renderBeneathThenCards(1.1f, cardFade(1.1));
    // The help card's opaque panel at half strength: half the picture over half the frame.
    double texel[4];
    picturePixel(helpCardPicture, 2 * (1700 - 1315), 2 * (960 - 728), texel);
    const std::uint8_t* under = beneath.at(1700, 960);
    for (int c = 0; c < 3; ++c) {
        EXPECT_NEAR(withCards.at(1700, 960)[c],
                    0.5 * texel[2 - c] + under[c] * (1.0 - 0.5 * texel[3] / 255.0), 3.0);
    }
}

TEST_F(CardTest, AMissingPictureSkipsOnlyItsCard) {
    open(1920, 1080);
    fixture.surface.cards[taglineCard] = OverlayCard{};
    renderBeneathThenCards(5.0f, 1.0f);
    EXPECT_EQ(0, std::memcmp(beneath.at(300, 900), withCards.at(300, 900), 3)) << "no tagline";
    EXPECT_NE(0, std::memcmp(beneath.at(1700, 960), withCards.at(1700, 960), 3)) << "help card drawn";
}

TEST_F(CardTest, PreviewDrawsNoCards) {
    open(1920, 1080);
    previewMode = true;
    renderGlFrame(fixture.surface, 5.0f, 1.0f, fixture.outputFramebuffer);
    const Image preview = readOutput(fixture);
    // Where the light help-card panel would be, the preview shows the dark frame.
    for (const auto& [x, y] : {std::pair{1700, 960}, std::pair{1400, 800}, std::pair{1850, 740}}) {
        EXPECT_LT(preview.at(x, y)[0] + preview.at(x, y)[1] + preview.at(x, y)[2], 200) << x << "," << y;
    }
}

} // namespace
