#include "assets/image_decoding.h"

#include <shlwapi.h>

#include <climits>
#include <new>

namespace {

// GDI+ allocates and zero-fills the pixels, so the copy starts as transparent black. The object's
// own memory comes from GDI+'s allocator, which answers null when memory is short: then there is
// no picture rather than an object built at address 0.
EmbeddedImage* createPremultipliedCopy(int width, int height) {
    return constructPremultipliedCopy(Gdiplus::DllExports::GdipAlloc(sizeof(Gdiplus::Bitmap)), width, height);
}

// Draws the decoded PNG one to one into a fresh premultiplied picture; null when that picture
// cannot be created.
EmbeddedImage* copyAsPremultiplied(Gdiplus::Bitmap& source, PremultipliedCopyFactory createCopy) {
    const UINT width = source.GetWidth();
    const UINT height = source.GetHeight();
    EmbeddedImage* copy = createCopy(static_cast<int>(width), static_cast<int>(height));
    if (copy == nullptr) {
        return nullptr;
    }
    if (copy->GetLastStatus() != Gdiplus::Ok) {
        delete copy;
        return nullptr;
    }
    Gdiplus::Graphics graphics(copy);
    graphics.DrawImage(&source, 0, 0, static_cast<INT>(width), static_cast<INT>(height));
    return copy;
}

} // namespace

EmbeddedImage* constructPremultipliedCopy(void* memory, int width, int height) {
    if (memory == nullptr) {
        return nullptr;
    }
    // Deleted as usual: Bitmap's operator delete hands the memory back to GDI+.
    return ::new (memory) Gdiplus::Bitmap(width, height, PixelFormat32bppPARGB);
}

EmbeddedImage* decodeEmbeddedImage(const unsigned char* bytes, std::size_t length) {
    return decodeEmbeddedImageWith(bytes, length, createPremultipliedCopy);
}

EmbeddedImage* decodeEmbeddedImageWith(const unsigned char* bytes, std::size_t length,
                                       PremultipliedCopyFactory createCopy) {
    // A memory stream holds at most UINT bytes; a longer buffer would be silently cut.
    if (length > UINT_MAX) {
        return nullptr;
    }
    IStream* stream = SHCreateMemStream(bytes, static_cast<UINT>(length));
    if (stream == nullptr) {
        return nullptr;
    }
    EmbeddedImage* result = nullptr;
    {
        Gdiplus::Bitmap source(stream, FALSE);
        if (source.GetLastStatus() == Gdiplus::Ok) {
            result = copyAsPremultiplied(source, createCopy);
        }
    }
    stream->Release();
    return result;
}
