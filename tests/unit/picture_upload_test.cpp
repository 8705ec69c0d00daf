// Turning pictures into card textures in the saver's real GL context.

#include "assets/embedded_pictures.h"
#include "assets/image_decoding.h"
#include "assets/texture_upload.h"
#include "gl/gl_api.h"
#include "support/test_windows.h"

#include <gtest/gtest.h>

#include <algorithm>
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
    void TearDown() override { closeTestSurface(surface); }

    static ULONG_PTR token;
    ScreenSurface surface;
};
ULONG_PTR PictureUpload::token = 0;

// A premultiplied picture whose every pixel differs from its neighbours in every row and column,
// so that a flip, a shift, a stride or a channel mix-up changes the bytes.
EmbeddedImage* patternPicture(int width, int height) {
    auto* picture = new Gdiplus::Bitmap(width, height, PixelFormat32bppPARGB);
    Gdiplus::Rect whole(0, 0, width, height);
    Gdiplus::BitmapData locked = {};
    if (picture->LockBits(&whole, Gdiplus::ImageLockModeWrite, PixelFormat32bppPARGB, &locked) !=
        Gdiplus::Ok) {
        ADD_FAILURE() << "cannot write the test picture";
        return picture;
    }
    for (int y = 0; y < height; ++y) {
        auto* row =
            static_cast<unsigned char*>(locked.Scan0) + static_cast<std::ptrdiff_t>(y) * locked.Stride;
        for (int x = 0; x < width; ++x) {
            row[x * 4 + 0] = static_cast<unsigned char>((x * 7 + y) & 0x7F);
            row[x * 4 + 1] = static_cast<unsigned char>((y * 13 + 1) & 0x7F);
            row[x * 4 + 2] = static_cast<unsigned char>((x + y * 3 + 2) & 0x7F);
            row[x * 4 + 3] = static_cast<unsigned char>(128 + ((x + 5 * y) & 0x7F));
        }
    }
    picture->UnlockBits(&locked);
    return picture;
}

Bytes lockedPixels(EmbeddedImage& picture) {
    const int width = static_cast<int>(picture.GetWidth());
    const int height = static_cast<int>(picture.GetHeight());
    Bytes pixels(static_cast<std::size_t>(width) * height * 4);
    Gdiplus::Rect whole(0, 0, width, height);
    Gdiplus::BitmapData locked = {};
    if (picture.LockBits(&whole, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB, &locked) != Gdiplus::Ok) {
        ADD_FAILURE() << "LockBits failed";
        return {};
    }
    for (int y = 0; y < height; ++y) {
        const auto* row =
            static_cast<const unsigned char*>(locked.Scan0) + static_cast<std::ptrdiff_t>(y) * locked.Stride;
        std::copy(row, row + width * 4, pixels.begin() + static_cast<std::ptrdiff_t>(y) * width * 4);
    }
    picture.UnlockBits(&locked);
    return pixels;
}

// Level 0 of a texture as bytes B, G, R, A, row 0 first.
Bytes texels(const OverlayCard& card) {
    Bytes pixels(static_cast<std::size_t>(card.width) * card.height * 4);
    glBindTexture(GL_TEXTURE_2D, card.texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

GLuint nextTextureName() {
    GLuint name = 0;
    glGenTextures(1, &name);
    return name;
}

GLint boundTexture() {
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    return bound;
}

// A stale unpack alignment of 8 would read the 3-pixel (12-byte) rows at a 16-byte pitch.
TEST_F(PictureUpload, TexelsAreThePicturesBytesTopRowFirst) {
    EmbeddedImage* picture = patternPicture(3, 5);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
    const OverlayCard card = uploadImageTexture(picture);
    ASSERT_NE(card.texture, 0u);
    EXPECT_EQ(card.width, 3);
    EXPECT_EQ(card.height, 5);
    EXPECT_EQ(boundTexture(), static_cast<GLint>(card.texture)) << "the new texture is left bound";
    const Bytes expected = lockedPixels(*picture);
    const Bytes actual = texels(card);
    ASSERT_EQ(actual.size(), expected.size());
    EXPECT_TRUE(std::equal(actual.begin(), actual.begin() + 12, expected.begin())) << "first texel row";
    EXPECT_EQ(actual, expected);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    delete picture;
}

// An incomplete texture (mipmapped minification without mipmaps) samples black in the overlay;
// repeating edges would bleed the opposite border into the card's outline.
TEST_F(PictureUpload, CardIsCompleteLinearAndClamped) {
    EmbeddedImage* picture = patternPicture(40, 24);
    const OverlayCard card = uploadImageTexture(picture);
    ASSERT_NE(card.texture, 0u);
    GLint value = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &value);
    EXPECT_EQ(value, GL_RGBA8);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &value);
    EXPECT_EQ(value, 40);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &value);
    EXPECT_EQ(value, 24);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
    EXPECT_EQ(value, GL_LINEAR);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &value);
    EXPECT_EQ(value, GL_LINEAR);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &value);
    EXPECT_EQ(value, GL_CLAMP_TO_EDGE);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &value);
    EXPECT_EQ(value, GL_CLAMP_TO_EDGE);
    delete picture;
}

// Transparent pixels of the logo store a colour in the PNG; the card must hold none of it.
TEST_F(PictureUpload, EmbeddedLogoUploadsPremultipliedAsDecoded) {
    EmbeddedImage* logo = decodeEmbeddedImage(logoPng, logoPngSize);
    ASSERT_NE(logo, nullptr);
    const OverlayCard card = uploadImageTexture(logo);
    ASSERT_NE(card.texture, 0u);
    EXPECT_EQ(card.width, 660);
    EXPECT_EQ(card.height, 252);
    const Bytes actual = texels(card);
    EXPECT_TRUE(actual == lockedPixels(*logo));
    std::size_t transparent = 0, clear = 0, colourAboveAlpha = 0;
    for (std::size_t i = 0; i < actual.size(); i += 4) {
        if (actual[i + 3] == 0) {
            ++transparent;
            clear += actual[i] == 0 && actual[i + 1] == 0 && actual[i + 2] == 0;
        }
        colourAboveAlpha +=
            actual[i] > actual[i + 3] || actual[i + 1] > actual[i + 3] || actual[i + 2] > actual[i + 3];
    }
    EXPECT_GT(transparent, 0u);
    EXPECT_EQ(clear, transparent) << "transparent texels keep a colour";
    EXPECT_EQ(colourAboveAlpha, 0u) << "texels are not premultiplied";
    delete logo;
}

TEST_F(PictureUpload, MissingOrUnreadablePictureGivesEmptyCardAndNoTexture) {
    glBindTexture(GL_TEXTURE_2D, 0);
    const GLuint before = nextTextureName();

    const OverlayCard none = uploadImageTexture(nullptr);
    EXPECT_EQ(none.texture, 0u);
    EXPECT_EQ(none.width, 0);
    EXPECT_EQ(none.height, 0);

    // A picture already locked elsewhere cannot be locked again; the failure stays in the object.
    EmbeddedImage* busy = patternPicture(8, 8);
    Gdiplus::Rect whole(0, 0, 8, 8);
    Gdiplus::BitmapData held = {};
    ASSERT_EQ(busy->LockBits(&whole, Gdiplus::ImageLockModeWrite, PixelFormat32bppPARGB, &held), Gdiplus::Ok);
    const OverlayCard locked = uploadImageTexture(busy);
    EXPECT_EQ(locked.texture, 0u);
    EXPECT_EQ(locked.width, 0);
    EXPECT_EQ(locked.height, 0);
    EXPECT_NE(busy->GetLastStatus(), Gdiplus::Ok);
    busy->UnlockBits(&held);
    delete busy;

    // A picture whose creation failed has no pixels at all.
    auto* empty = new Gdiplus::Bitmap(-1, -1, PixelFormat32bppPARGB);
    const OverlayCard hollow = uploadImageTexture(empty);
    EXPECT_EQ(hollow.texture, 0u);
    EXPECT_EQ(hollow.width, 0);
    EXPECT_EQ(hollow.height, 0);
    delete empty;

    EXPECT_EQ(nextTextureName(), before + 1) << "a texture name was created";
    EXPECT_EQ(boundTexture(), 0);
}

} // namespace
