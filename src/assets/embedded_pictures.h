#pragma once

#include <cstddef>

// The six PNG files, embedded at build time.
extern const unsigned char backgroundPng[];
extern const std::size_t backgroundPngSize;
extern const unsigned char combinedCardPng[];
extern const std::size_t combinedCardPngSize;
extern const unsigned char helpCardPng[];
extern const std::size_t helpCardPngSize;
extern const unsigned char wordmarkPng[];
extern const std::size_t wordmarkPngSize;
extern const unsigned char logoPng[];
extern const std::size_t logoPngSize;
extern const unsigned char taglinePng[];
extern const std::size_t taglinePngSize;
