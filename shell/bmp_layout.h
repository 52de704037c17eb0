// The layout of a 24-bit, bottom-up, uncompressed BMP file. Standard C++ only.
#pragma once

#include <array>
#include <cstdint>

constexpr std::uint32_t bmpFileHeaderSize = 14;
constexpr std::uint32_t bmpInfoHeaderSize = 40;
constexpr std::uint32_t bmpPixelOffset = bmpFileHeaderSize + bmpInfoHeaderSize;
constexpr std::uint16_t bmpBitsPerPixel = 24;

// A row's length in bytes, rounded up to a multiple of 4.
constexpr std::uint32_t bmpStride(std::int32_t width) {
    return static_cast<std::uint32_t>((static_cast<std::int64_t>(width) * bmpBitsPerPixel + 31) / 32 * 4);
}

constexpr std::uint32_t bmpFileSize(std::int32_t width, std::int32_t height) {
    return bmpPixelOffset + bmpStride(width) * static_cast<std::uint32_t>(height);
}

// The file header followed by the information header, little-endian.
std::array<std::uint8_t, bmpPixelOffset> bmpHeaders(std::int32_t width, std::int32_t height);
