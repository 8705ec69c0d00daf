#include "gl/texture_upload.h"

#include <cstdlib>
#include <cstring>

namespace {

// Copies the locked rows into one tightly packed block, top row first, whatever the lock's stride.
void copyRowsTightly(const Gdiplus::BitmapData& locked, unsigned char* pixels, std::size_t rowBytes,
                     UINT height) {
    const unsigned char* scan0 = static_cast<const unsigned char*>(locked.Scan0);
    for (UINT y = 0; y < height; ++y) {
        std::memcpy(pixels + y * rowBytes, scan0 + static_cast<std::ptrdiff_t>(y) * locked.Stride, rowBytes);
    }
}

} // namespace

OverlayCard uploadImageTexture(EmbeddedImage* picture) {
    OverlayCard card;
    if (picture == nullptr) {
        return card;
    }
    const UINT width = picture->GetWidth();
    const UINT height = picture->GetHeight();
    Gdiplus::Rect whole(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    Gdiplus::BitmapData locked = {};
    if (picture->LockBits(&whole, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB, &locked) !=
        Gdiplus::Ok) {
        return card;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
    unsigned char* pixels = static_cast<unsigned char*>(std::calloc(rowBytes * height, 1));
    if (pixels == nullptr) {
        picture->UnlockBits(&locked);
        return card;
    }
    copyRowsTightly(locked, pixels, rowBytes, height);
    picture->UnlockBits(&locked);

    // GDI+ premultiplied pixels are the bytes B, G, R, A: GL_BGRA takes them as they are.
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, static_cast<GLsizei>(width), static_cast<GLsizei>(height), 0,
                 GL_BGRA, GL_UNSIGNED_BYTE, pixels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    std::free(pixels);

    card.texture = texture;
    card.width = static_cast<int>(width);
    card.height = static_cast<int>(height);
    return card;
}
