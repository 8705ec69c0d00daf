// The frame's look (passes, blending, shader constants, card places, the preview without cards) is
// guarded by the reference frames; here only what they cannot show.

#include "support/test_windows.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// At 1920 x 1080 a card is drawn at half its picture's size, 64 pixels in from the window's side
// edges, the logo 56 from the top, the others' bottoms 104 from the bottom: the logo (660 x 252)
// covers (64, 56) to (394, 182), the help card (1082 x 496) (1315, 728) to (1856, 976). The tagline
// card, here without picture, draws nothing, and the other two still draw.
TEST(FramePasses, ACardWithoutPictureDrawsNothing) {
    OffscreenFrame frame;
    ASSERT_TRUE(openOffscreenFrame(frame, 1920, 1080, testPictures()));
    frame.renderer.cards[taglineCard] = OverlayCard{};
    PassValues pass = passValues(5.0, false);
    pass.cardFade = 0.0f; // cards drawn fully transparent
    renderOffscreenFrame(frame, pass);
    const std::vector<std::uint8_t> beneath = readOffscreenPixels(frame);
    pass.cardFade = 1.0f;
    glFramePasses[cardsPass].draw(frame.renderer, {frame.surface, pass, frame.output.framebuffer});
    const std::vector<std::uint8_t> over = readOffscreenPixels(frame);
    const RECT rects[] = {{64, 56, 394, 182}, {1315, 728, 1856, 976}, {0, 0, 1920, 1080}};
    int changed[3] = {};
    for (int i = 0; i < 1920 * 1080; ++i) {
        const POINT at = {i % 1920, i / 1920};
        const int rect = PtInRect(&rects[0], at) ? 0 : PtInRect(&rects[1], at) ? 1 : 2;
        changed[rect] += std::memcmp(&beneath[i * 4], &over[i * 4], 3) != 0;
    }
    EXPECT_GT(changed[0], 330 * 126 / 8);
    EXPECT_GT(changed[1], 541 * 248 / 8);
    EXPECT_EQ(changed[2], 0) << "pixels changed outside the logo and the help card";
    closeOffscreenFrame(frame);
}

} // namespace
