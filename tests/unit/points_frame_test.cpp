// The point pass through the saver's own frame code on surfaces set up like saver windows, its
// half-float target read back and measured as a whole.

#include "common/offscreen_frame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace {

// Light (red + green + blue) of the point target, its light-weighted centre in pixels from the top
// left, its spread (the light-weighted standard deviation of the column) and its darkest channel.
struct LightMeasure {
    double total, centreColumn, centreRow, spread, darkest;
};

LightMeasure measurePointTarget(const GlRenderer& renderer) {
    const int width = renderer.scene.width, height = renderer.scene.height;
    std::vector<float> rgba(static_cast<std::size_t>(width) * height * 4);
    renderer.gl.glBindFramebuffer(GL_FRAMEBUFFER, renderer.scene.framebuffer);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_FLOAT, rgba.data());
    double total = 0.0, columns = 0.0, rows = 0.0, squares = 0.0;
    for (std::size_t at = 0; at < rgba.size(); at += 4) {
        const double light = static_cast<double>(rgba[at]) + rgba[at + 1] + rgba[at + 2];
        const double column = static_cast<double>(at / 4 % width) + 0.5;
        total += light;
        columns += light * column;
        rows += light * (height - static_cast<double>(at / 4 / width) - 0.5); // GL's rows run bottom up
        squares += light * column * column;
    }
    const double mean = columns / total;
    return {total, mean, rows / total, std::sqrt(squares / total - mean * mean),
            *std::min_element(rgba.begin(), rgba.end())};
}

// At 21.95 s only floor and dust are lit: the model has dissolved, the gantry is gone. Expected: a
// double-precision model of those 13,100 points written from the design, each rasterised as GL
// rasterises a point (the pixels whose centres fall in its square, weighted by exp(-3 d2)(1 - d2)).
// At 4K the target stays at 2560 x 1440, a portrait monitor gets 810 x 1440, and in the 152 x 112
// preview every point is clamped to 1 pixel.
TEST(PointsFrame, FloorAndDustMatchTheModelOnEveryShapeOfWindow) {
    // The window, and the light expected in its point target (the darkest channel: at least 0).
    const std::pair<SIZE, LightMeasure> cases[] = {{{3840, 2160}, {6199.44, 1219.51, 957.60, 449.23, 0}},
                                                   {{1080, 1920}, {4440.02, 402.16, 1037.36, 188.10, 0}},
                                                   {{152, 112}, {531.76, 72.69, 89.79, 20.72, 0}}};
    for (const auto& [window, expected] : cases) {
        SCOPED_TRACE(testing::Message() << window.cx << " x " << window.cy);
        OffscreenFrame frame;
        ASSERT_TRUE(openOffscreenFrame(frame, window.cx, window.cy, Pictures()));
        const PassValues pass = passValues(21.95, false);
        glFramePasses[pointsPass].draw(frame.renderer, {frame.surface, pass, 0});
        const LightMeasure actual = measurePointTarget(frame.renderer);
        closeOffscreenFrame(frame);
        EXPECT_NEAR(actual.total, expected.total, 0.01 * expected.total);
        EXPECT_NEAR(actual.centreColumn, expected.centreColumn, 0.5);
        EXPECT_NEAR(actual.centreRow, expected.centreRow, 0.5);
        EXPECT_NEAR(actual.spread, expected.spread, 0.5);
        EXPECT_GE(actual.darkest, expected.darkest) << "a sprite's corner subtracts light";
    }
}

} // namespace
