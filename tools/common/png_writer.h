#pragma once

// Writes 8-bit RGB pixels (top row first, 3 bytes a pixel, no row padding) as a PNG file through
// GDI+, which the caller has started. False when GDI+ cannot encode or write the file.

#include <cstdint>

bool writePngFile(const wchar_t* path, int width, int height, const std::uint8_t* rgb);
