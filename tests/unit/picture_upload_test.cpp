// Turning pictures into card textures in the saver's real GL context.

#include "assets/texture_upload.h"
#include "gl/gl_api.h"
#include "support/test_windows.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

class PictureUpload : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::GdiplusStartup(&token, &input, nullptr), Gdiplus::Ok);
    }
    static void TearDownTestSuite() { Gdiplus::GdiplusShutdown(token); }
    void SetUp() override { ASSERT_TRUE(openGlTestSurface(surface, 64, 64)); }
    void TearDown() override { closeSurfaceWindow(surface); }

    static inline ULONG_PTR token = 0;
    ScreenSurface surface;
};

// Premultiplied bytes B, G, R, A in which every byte differs from its neighbours in the row, the
// column and the pixel, so that a flip, a shift, a stride or a channel mix-up changes them.
Bytes patternBytes(int width, int height) {
    Bytes bytes;
    for (int at = 0; at < width * height * 4; ++at) {
        const int x = at / 4 % width, y = at / 4 / width, channel = at % 4;
        bytes.push_back(static_cast<unsigned char>(channel == 3 ? 128 + ((x + 5 * y) & 0x7F)
                                                                : (x * 7 + y * 13 + channel * 41) & 0x7F));
    }
    return bytes;
}

// A premultiplied picture over the caller's pixels, which must outlive it.
EmbeddedImage* pictureOver(Bytes& bgra, int width, int height) {
    return new Gdiplus::Bitmap(width, height, width * 4, PixelFormat32bppPARGB, bgra.data());
}

GLint integer(GLenum name) {
    GLint value = -1;
    glGetIntegerv(name, &value);
    return value;
}

// A stale unpack alignment of 8 would read the 3-pixel (12-byte) rows at a 16-byte pitch. An
// incomplete texture (mipmapped minification without mipmaps) samples black in the overlay;
// repeating edges would bleed the opposite border into the card's outline.
TEST_F(PictureUpload, CardHoldsThePicturesBytesTopRowFirstLinearAndClamped) {
    Bytes pixels = patternBytes(3, 5);
    EmbeddedImage* picture = pictureOver(pixels, 3, 5);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
    const OverlayCard card = uploadImageTexture(picture);
    delete picture;
    ASSERT_NE(card.texture, 0u);
    EXPECT_EQ(card.width, 3);
    EXPECT_EQ(card.height, 5);
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(card.texture)) << "new texture left bound";

    auto level = [](GLenum name) {
        GLint value = -1;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, name, &value);
        return value;
    };
    auto parameter = [](GLenum name) {
        GLint value = -1;
        glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
        return value;
    };
    EXPECT_EQ(
        (std::vector{level(GL_TEXTURE_INTERNAL_FORMAT), level(GL_TEXTURE_WIDTH), level(GL_TEXTURE_HEIGHT)}),
        (std::vector<GLint>{GL_RGBA8, 3, 5}));
    EXPECT_EQ((std::vector{parameter(GL_TEXTURE_MIN_FILTER), parameter(GL_TEXTURE_MAG_FILTER),
                           parameter(GL_TEXTURE_WRAP_S), parameter(GL_TEXTURE_WRAP_T)}),
              (std::vector<GLint>{GL_LINEAR, GL_LINEAR, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE}))
        << "min and mag filter, s and t wrap";

    Bytes texels(pixels.size());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_BYTE, texels.data());
    EXPECT_EQ(texels, pixels) << "texel row 0 must be the picture's top row";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(PictureUpload, MissingOrUnreadablePictureGivesEmptyCardAndNoTexture) {
    glBindTexture(GL_TEXTURE_2D, 0);
    GLuint before = 0, after = 0;
    glGenTextures(1, &before);
    auto expectEmptyCard = [](EmbeddedImage* picture, const char* what) {
        const OverlayCard card = uploadImageTexture(picture);
        EXPECT_TRUE(card.texture == 0 && card.width == 0 && card.height == 0) << what;
    };
    expectEmptyCard(nullptr, "no picture");

    // A picture already locked elsewhere cannot be locked again; the failure stays in the object.
    Bytes pixels = patternBytes(8, 8);
    EmbeddedImage* busy = pictureOver(pixels, 8, 8);
    Gdiplus::Rect whole(0, 0, 8, 8);
    Gdiplus::BitmapData held = {};
    ASSERT_EQ(busy->LockBits(&whole, Gdiplus::ImageLockModeWrite, PixelFormat32bppPARGB, &held), Gdiplus::Ok);
    expectEmptyCard(busy, "locked picture");
    EXPECT_NE(busy->GetLastStatus(), Gdiplus::Ok);
    busy->UnlockBits(&held);
    delete busy;

    auto* hollow = new Gdiplus::Bitmap(-1, -1, PixelFormat32bppPARGB); // creation failed: no pixels
    expectEmptyCard(hollow, "picture without pixels");
    delete hollow;

    glGenTextures(1, &after);
    EXPECT_EQ(after, before + 1) << "a texture name was created";
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), 0);
}

} // namespace
