// Decoding the stored PNGs into premultiplied pictures, and the six picture slots.

#include "assets/embedded_pictures.h"
#include "assets/image_decoding.h"
#include "assets/pictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

// A 2 x 2 RGBA PNG written out byte by byte, so that the stored colour of its transparent pixel is
// exactly bright green: IHDR, IDAT with the two scanlines in one stored zlib block, IEND.
// clang-format off
const unsigned char twoByTwoPng[] = {
    0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n',
    0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 0, 0, 2, 0, 0, 0, 2, 8, 6, 0, 0, 0, 0x72, 0xB6, 0x0D, 0x24,
    0, 0, 0, 29, 'I', 'D', 'A', 'T', 0x78, 0x01, 0x01, 18, 0, 0xED, 0xFF,
    /* filter, then R, G, B, A twice */ 0, 0, 255, 0, 0, 255, 255, 255, 128,
    /* filter, then R, G, B, A twice */ 0, 255, 0, 0, 128, 10, 20, 30, 255,
    /* Adler-32 */ 0x44, 0xF5, 0x07, 0x37, /* CRC */ 0x42, 0x4C, 0x90, 0x01,
    0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};
// clang-format on

// The picture's bytes B, G, R, A per pixel, rows tightly packed, as the texture upload reads them.
Bytes lockedPixels(EmbeddedImage& picture) {
    const UINT width = picture.GetWidth(), height = picture.GetHeight();
    const INT stride = static_cast<INT>(width * 4);
    Bytes pixels(std::size_t{width} * height * 4);
    Gdiplus::Rect whole(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    Gdiplus::BitmapData into = {width, height, stride, PixelFormat32bppPARGB, pixels.data(), 0};
    const UINT mode = Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf;
    EXPECT_EQ(picture.LockBits(&whole, mode, PixelFormat32bppPARGB, &into), Gdiplus::Ok);
    picture.UnlockBits(&into);
    return pixels;
}

class PictureDecoding : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::GdiplusStartup(&token, &input, nullptr), Gdiplus::Ok);
    }
    static void TearDownTestSuite() { Gdiplus::GdiplusShutdown(token); }
    static inline ULONG_PTR token = 0;
};

const struct {
    const char* name;
    EmbeddedImage** picture;
    UINT width, height;
} slots[] = {{"background", &backgroundPicture, 1920, 1080},
             {"combined card", &combinedCardPicture, 1800, 786},
             {"help card", &helpCardPicture, 1082, 496},
             {"wordmark", &wordmarkPicture, 234, 36},
             {"logo", &logoPicture, 660, 252},
             {"tagline", &taglinePicture, 1440, 272}};

// Every card stores a colour under its transparent pixels; premultiplying must clear it. The
// opaque, coloured background shows that the copy is drawn whole, every row and column.
TEST_F(PictureDecoding, SlotsHoldEachPngWholeInPremultipliedArgbUntilReleased) {
    decodeEmbeddedPictures();
    for (const auto& slot : slots) {
        SCOPED_TRACE(slot.name);
        EmbeddedImage* picture = *slot.picture;
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->GetWidth(), slot.width);
        EXPECT_EQ(picture->GetHeight(), slot.height);
        EXPECT_EQ(picture->GetPixelFormat(), PixelFormat32bppPARGB);
        const Bytes pixels = lockedPixels(*picture);
        ASSERT_EQ(pixels.size(), std::size_t{slot.width} * slot.height * 4);
        std::size_t transparent = 0, opaque = 0, colourAboveAlpha = 0;
        unsigned char brightestAnywhere = 0;
        for (std::size_t i = 0; i < pixels.size(); i += 4) {
            const unsigned char brightest = std::max({pixels[i], pixels[i + 1], pixels[i + 2]});
            transparent += pixels[i + 3] == 0;
            opaque += pixels[i + 3] == 255;
            colourAboveAlpha += brightest > pixels[i + 3];
            brightestAnywhere = std::max(brightestAnywhere, brightest);
        }
        EXPECT_EQ(colourAboveAlpha, 0u) << "not premultiplied, or transparent pixels keep a colour";
        EXPECT_GT(brightestAnywhere, 0) << "decoded to plain black";
        if (slot.picture == &backgroundPicture) {
            EXPECT_EQ(opaque, pixels.size() / 4) << "the RGB background must be opaque everywhere";
        } else {
            EXPECT_GT(transparent, 0u) << "a card's transparent ground was filled";
        }
    }
    releaseEmbeddedPictures();
    for (const auto& slot : slots) {
        EXPECT_EQ(*slot.picture, nullptr) << slot.name;
    }
    releaseEmbeddedPictures(); // a second release finds nothing to delete
}

// Stored: bright green at alpha 0, white and red at alpha 128, an opaque colour; read back as
// bytes B, G, R, A, premultiplied.
TEST_F(PictureDecoding, PixelsArePremultipliedInBlueGreenRedAlphaOrder) {
    const Bytes expected = {0, 0, 0, 0, 128, 128, 128, 128, 0, 0, 128, 128, 30, 20, 10, 255};
    EmbeddedImage* picture = decodeEmbeddedImage(twoByTwoPng, sizeof twoByTwoPng);
    ASSERT_NE(picture, nullptr);
    const Bytes pixels = lockedPixels(*picture);
    ASSERT_EQ(pixels.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(pixels[i], expected[i], 1) << "pixel " << i / 4 << ", channel "
                                               << "BGRA"[i % 4];
    }
    delete picture;
}

// A copy GDI+ could not create has no pixels; handing it on would make every later query fail.
TEST_F(PictureDecoding, DamagedBytesOrFailedCopyGiveNoPicture) {
    const unsigned char one = 0x89;
    EXPECT_EQ(decodeEmbeddedImage(nullptr, 0), nullptr);
    EXPECT_EQ(decodeEmbeddedImage(&one, 1), nullptr);
    EXPECT_EQ(decodeEmbeddedImage(logoPng, 8), nullptr) << "signature only";
    EXPECT_EQ(decodeEmbeddedImage(logoPng, 20), nullptr) << "cut inside the header";
    EXPECT_EQ(decodeEmbeddedImage(logoPng, 33), nullptr) << "header without image data";
    EXPECT_EQ(decodeEmbeddedImage(logoPng, logoPngSize / 2), nullptr) << "cut inside the image data";
    EXPECT_EQ(decodeEmbeddedImage(logoPng, logoPngSize - 12), nullptr) << "no end chunk";
    const PremultipliedCopyFactory failedCopy = [](int, int) -> EmbeddedImage* {
        return new Gdiplus::Bitmap(-1, -1, PixelFormat32bppPARGB);
    };
    EXPECT_EQ(decodeEmbeddedImageWith(logoPng, logoPngSize, failedCopy), nullptr);
    EXPECT_EQ(
        decodeEmbeddedImageWith(logoPng, logoPngSize, [](int, int) -> EmbeddedImage* { return nullptr; }),
        nullptr);
}

} // namespace
