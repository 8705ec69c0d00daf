#include "common/png_writer.h"

#include <windows.h>

#include <gdiplus.h>

#include <cwchar>
#include <vector>

namespace {

bool findPngEncoder(CLSID& encoder) {
    UINT count = 0;
    UINT bytes = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || bytes == 0) {
        return false;
    }
    std::vector<unsigned char> storage(bytes);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(storage.data());
    if (Gdiplus::GetImageEncoders(count, bytes, encoders) != Gdiplus::Ok) {
        return false;
    }
    for (UINT index = 0; index < count; ++index) {
        if (std::wcscmp(encoders[index].MimeType, L"image/png") == 0) {
            encoder = encoders[index].Clsid;
            return true;
        }
    }
    return false;
}

} // namespace

bool writePngFile(const wchar_t* path, int width, int height, const std::uint8_t* rgb) {
    CLSID encoder = {};
    if (!findPngEncoder(encoder)) {
        return false;
    }
    Gdiplus::Bitmap bitmap(width, height, PixelFormat24bppRGB);
    Gdiplus::Rect all(0, 0, width, height);
    Gdiplus::BitmapData data = {};
    if (bitmap.LockBits(&all, Gdiplus::ImageLockModeWrite, PixelFormat24bppRGB, &data) != Gdiplus::Ok) {
        return false;
    }
    for (int row = 0; row < height; ++row) {
        auto* out = static_cast<std::uint8_t*>(data.Scan0) + static_cast<std::ptrdiff_t>(row) * data.Stride;
        const std::uint8_t* in = rgb + static_cast<std::size_t>(row) * static_cast<std::size_t>(width) * 3;
        for (int column = 0; column < width; ++column) {
            // GDI+ keeps 24-bit pixels in blue, green, red order.
            out[column * 3 + 0] = in[column * 3 + 2];
            out[column * 3 + 1] = in[column * 3 + 1];
            out[column * 3 + 2] = in[column * 3 + 0];
        }
    }
    bitmap.UnlockBits(&data);
    return bitmap.Save(path, &encoder, nullptr) == Gdiplus::Ok;
}
