#include "software_test_support.h"

#include "assets/embedded_pictures.h"
#include "assets/image_decoding.h"
#include "gl/layout.h"
#include "shell/saver_lifecycle.h"
#include "shell/saver_state.h"
#include "software/software_renderer.h"
#include "support/test_windows.h"

#include <algorithm>
#include <cstdlib>

int colourDistance(std::uint32_t a, std::uint32_t b) {
    int largest = 0;
    for (int shift : {16, 8, 0}) {
        largest = std::max(largest, std::abs(channel(a, shift) - channel(b, shift)));
    }
    return largest;
}

int changedPixels(const Frame& frame, const Frame& before, int left, int top, int right, int bottom,
                  int tolerance) {
    int changed = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            changed += colourDistance(frame.at(x, y), before.at(x, y)) > tolerance ? 1 : 0;
        }
    }
    return changed;
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
    // Scan0 is our own buffer, so the rows arrive packed.
    locked.Width = frame.width;
    locked.Height = frame.height;
    locked.Stride = frame.width * 4;
    locked.PixelFormat = PixelFormat32bppPARGB;
    locked.Scan0 = frame.pixels.data();
    EXPECT_EQ(picture->LockBits(&whole, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
                                PixelFormat32bppPARGB, &locked),
              Gdiplus::Ok);
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

void setPictureSlots(bool background, bool cards) {
    struct Slot {
        EmbeddedImage** slot;
        const unsigned char* bytes;
        const std::size_t* length;
        bool isCard;
    };
    static const Slot slots[] = {
        {&backgroundPicture, backgroundPng, &backgroundPngSize, false},
        {&combinedCardPicture, combinedCardPng, &combinedCardPngSize, true},
        {&helpCardPicture, helpCardPng, &helpCardPngSize, true},
        {&wordmarkPicture, wordmarkPng, &wordmarkPngSize, true},
        {&logoPicture, logoPng, &logoPngSize, true},
        {&taglinePicture, taglinePng, &taglinePngSize, true},
    };
    static EmbeddedImage* decoded[std::size(slots)] = {};
    startGdiplusOnce();
    for (std::size_t index = 0; index < std::size(slots); ++index) {
        if ((slots[index].isCard ? cards : background) && decoded[index] == nullptr) {
            decoded[index] = decodeEmbeddedImage(slots[index].bytes, *slots[index].length);
        }
        *slots[index].slot = (slots[index].isCard ? cards : background) ? decoded[index] : nullptr;
    }
}

ScreenSurface* openSoftwareSurface(int width, int height) {
    startGdiplusOnce();
    auto* surface = new ScreenSurface();
    surface->width = width;
    surface->height = height;
    surface->window = createSaverClassWindow(width, height);
    surface->scale = layoutScale(width, height);
    surface->dc = GetDC(surface->window);
    initSoftwareSurface(*surface);
    return surface;
}

std::vector<ScreenSurface*> replaceSurfaces(std::vector<ScreenSurface*> list) {
    list.swap(surfaces);
    return list;
}

void closeSoftwareSurface(ScreenSurface* surface) {
    std::vector<ScreenSurface*> saved = replaceSurfaces({surface});
    tearDownSurfaces();
    replaceSurfaces(saved);
}

void SoftwareTest::SetUp() {
    startGdiplusOnce();
    previewMode = false;
    originalGdi = softwareGdi;
}

void SoftwareTest::TearDown() {
    softwareGdi = originalGdi;
    setPictureSlots(false, false);
    previewMode = false;
}
