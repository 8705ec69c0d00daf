// The point pass through the saver's own frame code on surfaces set up like saver windows, its
// half-float target read back and measured as a whole.

#include "common/offscreen_frame.h"
#include "gl/gl_frame.h"
#include "gl/gl_functions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Light (red + green + blue) of the point target, its light-weighted centre in pixels from the top
// left, and its spread: the light-weighted standard deviation of the column.
struct LightMeasure {
    double total, centreColumn, centreRow, spread;
};

LightMeasure measurePointTarget(const ScreenSurface& surface, float& smallestChannel) {
    const int width = surface.sceneWidth;
    const int height = surface.sceneHeight;
    std::vector<float> rgba(static_cast<std::size_t>(width) * height * 4);
    gl.glBindFramebuffer(GL_FRAMEBUFFER, surface.sceneFramebuffer);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_FLOAT, rgba.data());
    smallestChannel = *std::min_element(rgba.begin(), rgba.end());
    LightMeasure sums = {};
    double squares = 0.0;
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const float* pixel = &rgba[(static_cast<std::size_t>(row) * width + column) * 4];
            const double light = static_cast<double>(pixel[0]) + pixel[1] + pixel[2];
            sums.total += light;
            sums.centreColumn += light * (column + 0.5);
            sums.centreRow += light * (height - row - 0.5); // GL's rows run bottom up
            squares += light * (column + 0.5) * (column + 0.5);
        }
    }
    const double column = sums.centreColumn / sums.total;
    return {sums.total, column, sums.centreRow / sums.total,
            std::sqrt(squares / sums.total - column * column)};
}

// At 21.95 s only floor and dust are lit: the model has dissolved, the gantry is gone. Expected: a
// double-precision model of those 13,100 points written from the design, each rasterised as GL
// rasterises a point (the pixels whose centres fall in its square, weighted by exp(-3 d2)(1 - d2)).
// At 4K the target stays at 2560 x 1440, a portrait monitor gets 810 x 1440, and in the 152 x 112
// preview every point is clamped to 1 pixel.
TEST(PointsFrame, FloorAndDustMatchTheModelOnEveryShapeOfWindow) {
    struct Case {
        int width, height;
        LightMeasure expected;
    };
    const Case cases[] = {{3840, 2160, {6199.44, 1219.51, 957.60, 449.23}},
                          {1080, 1920, {4440.02, 402.16, 1037.36, 188.10}},
                          {152, 112, {531.76, 72.69, 89.79, 20.72}}};
    for (const Case& shape : cases) {
        OffscreenFrame frame;
        ASSERT_TRUE(openOffscreenFrame(frame, shape.width, shape.height));
        drawPointPass(frame.surface, 21.95f);
        float smallestChannel = 0.0f;
        const LightMeasure actual = measurePointTarget(frame.surface, smallestChannel);
        closeOffscreenFrame(frame);
        const LightMeasure& expected = shape.expected;
        EXPECT_NEAR(actual.total, expected.total, 0.01 * expected.total)
            << shape.width << " x " << shape.height;
        EXPECT_NEAR(actual.centreColumn, expected.centreColumn, 0.5) << shape.width << " x " << shape.height;
        EXPECT_NEAR(actual.centreRow, expected.centreRow, 0.5) << shape.width << " x " << shape.height;
        EXPECT_NEAR(actual.spread, expected.spread, 0.5) << shape.width << " x " << shape.height;
        EXPECT_GE(smallestChannel, 0.0f) << "a sprite's corner subtracts light";
    }
}

} // namespace
