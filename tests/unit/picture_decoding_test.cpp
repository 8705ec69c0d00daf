// Decoding the stored PNGs into premultiplied pictures, and the six picture slots.

#include "assets/embedded_pictures.h"
#include "assets/image_decoding.h"
#include "assets/pictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

struct Rgba {
    unsigned char r, g, b, a;
};

void appendBigEndian(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<unsigned char>(value >> shift));
    }
}

std::uint32_t crc32(const unsigned char* data, std::size_t length) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

void appendChunk(Bytes& png, const char* kind, const Bytes& body) {
    appendBigEndian(png, static_cast<std::uint32_t>(body.size()));
    const std::size_t kindAt = png.size();
    png.insert(png.end(), kind, kind + 4);
    png.insert(png.end(), body.begin(), body.end());
    appendBigEndian(png, crc32(png.data() + kindAt, png.size() - kindAt));
}

// A zlib stream of one stored (uncompressed) block; enough for the few bytes of a test picture.
Bytes storedZlib(const Bytes& data) {
    Bytes out = {0x78, 0x01, 0x01};
    const auto length = static_cast<std::uint16_t>(data.size());
    out.push_back(static_cast<unsigned char>(length & 0xFF));
    out.push_back(static_cast<unsigned char>(length >> 8));
    out.push_back(static_cast<unsigned char>(~length & 0xFF));
    out.push_back(static_cast<unsigned char>((~length >> 8) & 0xFF));
    out.insert(out.end(), data.begin(), data.end());
    std::uint32_t a = 1, b = 0;
    for (unsigned char byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    appendBigEndian(out, (b << 16) | a);
    return out;
}

// A plain 8-bit RGBA PNG (IHDR, IDAT, IEND), written byte by byte so that the stored colours,
// including those of transparent pixels, are exactly the ones given.
Bytes rgbaPng(int width, int height, const std::vector<Rgba>& pixels) {
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    appendBigEndian(header, static_cast<std::uint32_t>(width));
    appendBigEndian(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, 6, 0, 0, 0});
    appendChunk(png, "IHDR", header);
    Bytes rows;
    for (int y = 0; y < height; ++y) {
        rows.push_back(0); // filter type None
        for (int x = 0; x < width; ++x) {
            const Rgba& p = pixels[static_cast<std::size_t>(y * width + x)];
            rows.insert(rows.end(), {p.r, p.g, p.b, p.a});
        }
    }
    appendChunk(png, "IDAT", storedZlib(rows));
    appendChunk(png, "IEND", {});
    return png;
}

EmbeddedImage* decode(const Bytes& bytes) {
    return decodeEmbeddedImage(bytes.data(), bytes.size());
}

// The bytes of a picture as the texture upload sees them: B, G, R, A per pixel, rows tightly packed.
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

class PictureDecoding : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::GdiplusStartup(&token, &input, nullptr), Gdiplus::Ok);
    }
    static void TearDownTestSuite() { Gdiplus::GdiplusShutdown(token); }
    static ULONG_PTR token;
};
ULONG_PTR PictureDecoding::token = 0;

struct StoredPng {
    const char* name;
    const unsigned char* bytes;
    std::size_t length;
    UINT width;
    UINT height;
};

std::vector<StoredPng> storedPngs() {
    return {{"background", backgroundPng, backgroundPngSize, 1920, 1080},
            {"combined card", combinedCardPng, combinedCardPngSize, 1800, 786},
            {"help card", helpCardPng, helpCardPngSize, 1082, 496},
            {"wordmark", wordmarkPng, wordmarkPngSize, 234, 36},
            {"logo", logoPng, logoPngSize, 660, 252},
            {"tagline", taglinePng, taglinePngSize, 1440, 272}};
}

TEST_F(PictureDecoding, EveryEmbeddedPngDecodesToItsSizeInPremultipliedArgb) {
    for (const StoredPng& png : storedPngs()) {
        SCOPED_TRACE(png.name);
        EmbeddedImage* picture = decodeEmbeddedImage(png.bytes, png.length);
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->GetWidth(), png.width);
        EXPECT_EQ(picture->GetHeight(), png.height);
        EXPECT_EQ(picture->GetPixelFormat(), PixelFormat32bppPARGB);
        delete picture;
    }
}

TEST_F(PictureDecoding, BackgroundIsOpaqueEverywhere) {
    EmbeddedImage* picture = decodeEmbeddedImage(backgroundPng, backgroundPngSize);
    ASSERT_NE(picture, nullptr);
    const Bytes pixels = lockedPixels(*picture);
    ASSERT_EQ(pixels.size(), 1920u * 1080u * 4u);
    std::size_t notOpaque = 0;
    bool anyColour = false;
    for (std::size_t i = 0; i < pixels.size(); i += 4) {
        notOpaque += pixels[i + 3] != 255;
        anyColour = anyColour || pixels[i] != 0 || pixels[i + 1] != 0 || pixels[i + 2] != 0;
    }
    EXPECT_EQ(notOpaque, 0u);
    EXPECT_TRUE(anyColour) << "the background decoded to plain black";
    delete picture;
}

// Transparent pixels store a bright colour on purpose: premultiplying must clear it.
TEST_F(PictureDecoding, PixelsArePremultipliedInBlueGreenRedAlphaOrder) {
    const std::vector<Rgba> stored = {
        {0, 255, 0, 0},   {255, 255, 255, 128}, {255, 0, 0, 128},  {0, 0, 255, 255},
        {255, 0, 255, 0}, {0, 255, 0, 64},      {10, 20, 30, 255}, {255, 255, 255, 255},
    };
    EmbeddedImage* picture = decode(rgbaPng(4, 2, stored));
    ASSERT_NE(picture, nullptr);
    ASSERT_EQ(picture->GetWidth(), 4u);
    ASSERT_EQ(picture->GetHeight(), 2u);
    const Bytes pixels = lockedPixels(*picture);
    ASSERT_EQ(pixels.size(), 4u * 2u * 4u);
    // Expected bytes B, G, R, A, premultiplied.
    const unsigned char expected[8][4] = {
        {0, 0, 0, 0}, {128, 128, 128, 128}, {0, 0, 128, 128},  {255, 0, 0, 255},
        {0, 0, 0, 0}, {0, 64, 0, 64},       {30, 20, 10, 255}, {255, 255, 255, 255},
    };
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(::testing::Message() << "pixel " << i % 4 << "," << i / 4);
        for (int channel = 0; channel < 4; ++channel) {
            EXPECT_NEAR(pixels[static_cast<std::size_t>(i * 4 + channel)], expected[i][channel], 1)
                << "channel "
                << "BGRA"[channel];
        }
    }
    delete picture;
}

TEST_F(PictureDecoding, DamagedBytesGiveNoPicture) {
    const Bytes good = rgbaPng(4, 2, std::vector<Rgba>(8, Rgba{1, 2, 3, 255}));
    EmbeddedImage* reference = decode(good);
    ASSERT_NE(reference, nullptr) << "the undamaged PNG must decode";
    delete reference;
    EXPECT_EQ(decodeEmbeddedImage(nullptr, 0), nullptr);
    const unsigned char one = 0x89;
    EXPECT_EQ(decodeEmbeddedImage(&one, 0), nullptr);
    EXPECT_EQ(decodeEmbeddedImage(&one, 1), nullptr);
    EXPECT_EQ(decodeEmbeddedImage(logoPng, 8), nullptr) << "signature only";
    EXPECT_EQ(decodeEmbeddedImage(logoPng, 20), nullptr) << "cut inside the header";
    EXPECT_EQ(decodeEmbeddedImage(logoPng, 33), nullptr) << "header without image data";
    EXPECT_EQ(decodeEmbeddedImage(logoPng, logoPngSize / 2), nullptr) << "cut inside the image data";
    EXPECT_EQ(decodeEmbeddedImage(good.data(), good.size() - 12), nullptr) << "no end chunk";

    Bytes garbage(4096);
    std::uint32_t state = 12345;
    for (unsigned char& byte : garbage) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<unsigned char>(state >> 24);
    }
    EXPECT_EQ(decode(garbage), nullptr) << "random bytes";
    Bytes signedGarbage = garbage;
    std::copy(logoPng, logoPng + 8, signedGarbage.begin());
    EXPECT_EQ(decode(signedGarbage), nullptr) << "PNG signature, then random bytes";
}

EmbeddedImage* failedCopy(int, int) {
    return new Gdiplus::Bitmap(-1, -1, PixelFormat32bppPARGB);
}
EmbeddedImage* noCopy(int, int) {
    return nullptr;
}

// A copy that GDI+ could not create has no pixels; handing it on would make every later query fail.
TEST_F(PictureDecoding, FailedPremultipliedCopyGivesNoPicture) {
    EXPECT_EQ(decodeEmbeddedImageWith(logoPng, logoPngSize, failedCopy), nullptr);
    EXPECT_EQ(decodeEmbeddedImageWith(logoPng, logoPngSize, noCopy), nullptr);
}

TEST_F(PictureDecoding, SlotsHoldTheirOwnPictureUntilReleased) {
    decodeEmbeddedPictures();
    struct Slot {
        const char* name;
        EmbeddedImage* picture;
        UINT width;
        UINT height;
    };
    const Slot slots[] = {{"background", backgroundPicture, 1920, 1080},
                          {"combined card", combinedCardPicture, 1800, 786},
                          {"help card", helpCardPicture, 1082, 496},
                          {"wordmark", wordmarkPicture, 234, 36},
                          {"logo", logoPicture, 660, 252},
                          {"tagline", taglinePicture, 1440, 272}};
    for (const Slot& slot : slots) {
        SCOPED_TRACE(slot.name);
        ASSERT_NE(slot.picture, nullptr);
        EXPECT_EQ(slot.picture->GetWidth(), slot.width);
        EXPECT_EQ(slot.picture->GetHeight(), slot.height);
    }
    releaseEmbeddedPictures();
    EXPECT_EQ(backgroundPicture, nullptr);
    EXPECT_EQ(combinedCardPicture, nullptr);
    EXPECT_EQ(helpCardPicture, nullptr);
    EXPECT_EQ(wordmarkPicture, nullptr);
    EXPECT_EQ(logoPicture, nullptr);
    EXPECT_EQ(taglinePicture, nullptr);
    releaseEmbeddedPictures(); // a second release finds nothing to delete
}

} // namespace
