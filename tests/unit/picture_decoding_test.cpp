// Decoding the stored PNGs into the six picture slots, and turning pictures into card textures.

#include "assets/image_decoding.h"
#include "gl/texture_upload.h"
#include "support/test_windows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <tuple>
#include <vector>

extern const unsigned char logoPng[];
extern const std::size_t logoPngSize;

namespace {

// The sizes tell the stored files apart. Premultiplied storage is what the card textures and the
// software path's blending take as they are. A copy GDI+ could not create has no pixels; handing
// it on would make every later draw fail. GDI+'s allocator answers null when memory is short.
TEST(PictureDecoding, EachSlotHoldsItsOwnPngPremultipliedUntilReleased) {
    testPictures(); // GDI+ started
    const std::tuple<PictureId, UINT, UINT> slots[] = {
        {backgroundPicture, 1920, 1080}, {combinedCardPicture, 1800, 786}, {helpCardPicture, 1082, 496},
        {wordmarkPicture, 234, 36},      {logoPicture, 660, 252},          {taglinePicture, 1440, 272}};
    Pictures pictures;
    decodeEmbeddedPictures(pictures);
    for (auto [slot, width, height] : slots) {
        ASSERT_NE(pictures[slot], nullptr) << width;
        EXPECT_EQ(std::tuple(pictures[slot]->GetWidth(), pictures[slot]->GetHeight(),
                             pictures[slot]->GetPixelFormat()),
                  std::tuple(width, height, PixelFormat32bppPARGB));
    }
    releaseEmbeddedPictures(pictures);
    EXPECT_EQ(std::ranges::count(pictures.slots, nullptr), pictureCount) << "a slot kept its picture";
    EXPECT_EQ(decodeEmbeddedImage(logoPng, logoPngSize / 2), nullptr) << "cut inside the image data";
    auto hollow = [](int, int) { return new Gdiplus::Bitmap(-1, -1, PixelFormat32bppPARGB); };
    EXPECT_EQ(decodeEmbeddedImageWith(logoPng, logoPngSize, hollow), nullptr);
    EXPECT_EQ(constructPremultipliedCopy(nullptr, 4, 4), nullptr);
}

// 3 x 5 premultiplied pixels, bytes B, G, R, A, each unlike its neighbours in the row, the column
// and the pixel: a flip, a shift, a stride or a channel mix-up changes them. A stale unpack
// alignment of 8 would read the 12-byte rows at a 16-byte pitch. Mipmapped minification without
// mipmaps samples black; repeating edges bleed the opposite border into the card's outline.
TEST(PictureDecoding, CardTexturesHoldThePicturesBytesTopRowFirstLinearAndClamped) {
    testPictures(); // GDI+ started
    OffscreenFrame frame;
    ASSERT_TRUE(openGlTestContext(frame, 64, 64));
    std::vector<unsigned char> bytes(3 * 5 * 4), texels(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<unsigned char>(i % 4 == 3 ? 128 + i / 4 : i * 7 % 128);
    }
    Gdiplus::Bitmap picture(3, 5, 12, PixelFormat32bppPARGB, bytes.data()),
        hollow(-1, -1, PixelFormat32bppPARGB);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
    const OverlayCard card = uploadImageTexture(&picture);
    GLint got[4] = {};
    for (int i = 0;
         GLenum name : {GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER, GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T}) {
        glGetTexParameteriv(GL_TEXTURE_2D, name, &got[i++]);
    }
    EXPECT_EQ(std::to_array(got), (std::array{GL_LINEAR, GL_LINEAR, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE}));
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_BYTE, texels.data());
    EXPECT_EQ(texels, bytes) << "texel row 0 must be the picture's top row, bytes B, G, R, A";
    EXPECT_EQ(std::tuple(card.width, card.height, uploadImageTexture(nullptr).texture,
                         uploadImageTexture(&hollow).texture),
              std::tuple(3, 5, 0u, 0u));
    closeOffscreenFrame(frame);
}

} // namespace
