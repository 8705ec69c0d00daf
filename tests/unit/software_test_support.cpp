#include "software_test_support.h"

#include "assets/embedded_pictures.h"
#include "assets/image_decoding.h"
#include "gl/layout.h"
#include "shell/saver_lifecycle.h"
#include "software/software_renderer.h"
#include "support/test_windows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

int colourDistance(std::uint32_t a, std::uint32_t b) {
    return std::max({std::abs(red(a) - red(b)), std::abs(green(a) - green(b)), std::abs(blue(a) - blue(b))});
}

Frame readBitmap(HBITMAP bitmap) {
    GdiFlush();
    Frame frame;
    DIBSECTION section = {};
    if (GetObjectW(bitmap, sizeof section, &section) != sizeof section || section.dsBm.bmBits == nullptr) {
        ADD_FAILURE() << "not a DIB section";
        return frame;
    }
    frame.width = section.dsBm.bmWidth;
    frame.height = section.dsBm.bmHeight;
    const auto* bits = static_cast<const std::uint32_t*>(section.dsBm.bmBits);
    frame.pixels.assign(bits, bits + static_cast<std::size_t>(frame.width) * frame.height);
    return frame;
}

Frame readPicture(EmbeddedImage* picture) {
    Frame frame;
    frame.width = static_cast<int>(picture->GetWidth());
    frame.height = static_cast<int>(picture->GetHeight());
    frame.pixels.resize(static_cast<std::size_t>(frame.width) * frame.height);
    Gdiplus::Rect whole(0, 0, frame.width, frame.height);
    Gdiplus::BitmapData locked = {};
    if (picture->LockBits(&whole, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB, &locked) !=
        Gdiplus::Ok) {
        ADD_FAILURE() << "cannot lock the picture";
        return frame;
    }
    for (int y = 0; y < frame.height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(
            static_cast<const unsigned char*>(locked.Scan0) + static_cast<std::ptrdiff_t>(y) * locked.Stride);
        std::copy(row, row + frame.width,
                  frame.pixels.begin() + static_cast<std::ptrdiff_t>(y) * frame.width);
    }
    picture->UnlockBits(&locked);
    return frame;
}

void startGdiplusOnce() {
    static ULONG_PTR token = 0;
    if (token == 0) {
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::GdiplusStartup(&token, &input, nullptr), Gdiplus::Ok);
    }
}

namespace {

struct DecodedPicture {
    EmbeddedImage** slot;
    const unsigned char* bytes;
    const std::size_t* length;
    EmbeddedImage* picture;
};

DecodedPicture decodedPictures[] = {
    {&backgroundPicture, backgroundPng, &backgroundPngSize, nullptr},
    {&combinedCardPicture, combinedCardPng, &combinedCardPngSize, nullptr},
    {&helpCardPicture, helpCardPng, &helpCardPngSize, nullptr},
    {&wordmarkPicture, wordmarkPng, &wordmarkPngSize, nullptr},
    {&logoPicture, logoPng, &logoPngSize, nullptr},
    {&taglinePicture, taglinePng, &taglinePngSize, nullptr},
};

} // namespace

EmbeddedImage* testPicture(EmbeddedImage* const& slot) {
    startGdiplusOnce();
    for (DecodedPicture& decoded : decodedPictures) {
        if (decoded.slot == &slot) {
            if (decoded.picture == nullptr) {
                decoded.picture = decodeEmbeddedImage(decoded.bytes, *decoded.length);
            }
            return decoded.picture;
        }
    }
    return nullptr;
}

void setPictureSlots(bool background, bool cards) {
    backgroundPicture = background ? testPicture(backgroundPicture) : nullptr;
    combinedCardPicture = cards ? testPicture(combinedCardPicture) : nullptr;
    helpCardPicture = cards ? testPicture(helpCardPicture) : nullptr;
    wordmarkPicture = cards ? testPicture(wordmarkPicture) : nullptr;
    logoPicture = cards ? testPicture(logoPicture) : nullptr;
    taglinePicture = cards ? testPicture(taglinePicture) : nullptr;
}

void clearPictureSlots() {
    backgroundPicture = nullptr;
    combinedCardPicture = nullptr;
    helpCardPicture = nullptr;
    wordmarkPicture = nullptr;
    logoPicture = nullptr;
    taglinePicture = nullptr;
}

ScreenSurface* openSoftwareSurface(int width, int height) {
    startGdiplusOnce();
    auto* surface = new ScreenSurface();
    surface->width = width;
    surface->height = height;
    surface->window = createTestWindow(width, height);
    surface->scale = layoutScale(width, height);
    surface->dc = GetDC(surface->window);
    initSoftwareSurface(*surface);
    return surface;
}

void closeSoftwareSurface(ScreenSurface* surface) {
    std::vector<ScreenSurface*> saved;
    saved.swap(surfaces);
    surfaces.push_back(surface);
    tearDownSurfaces();
    surfaces.swap(saved);
}

namespace {

bool pngEncoder(CLSID& encoder) {
    UINT count = 0;
    UINT bytes = 0;
    Gdiplus::GetImageEncodersSize(&count, &bytes);
    std::vector<unsigned char> buffer(bytes);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (bytes == 0 || Gdiplus::GetImageEncoders(count, bytes, codecs) != Gdiplus::Ok) {
        return false;
    }
    for (UINT index = 0; index < count; ++index) {
        if (std::wstring(codecs[index].MimeType) == L"image/png") {
            encoder = codecs[index].Clsid;
            return true;
        }
    }
    return false;
}

} // namespace

void captureFrame(const Frame& frame, const wchar_t* name) {
    const wchar_t* folder = _wgetenv(L"ORVANE_SOFTWARE_CAPTURE_DIR");
    CLSID encoder;
    if (folder == nullptr || !pngEncoder(encoder)) {
        return;
    }
    std::vector<std::uint32_t> pixels = frame.pixels;
    Gdiplus::Bitmap bitmap(frame.width, frame.height, frame.width * 4, PixelFormat32bppRGB,
                           reinterpret_cast<BYTE*>(pixels.data()));
    const std::wstring path = std::wstring(folder) + L"\\" + name + L".png";
    EXPECT_EQ(bitmap.Save(path.c_str(), &encoder, nullptr), Gdiplus::Ok) << "capture not written";
}
