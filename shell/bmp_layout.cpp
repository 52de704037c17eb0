#include "bmp_layout.h"

namespace {

void put16(std::uint8_t* at, std::uint32_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

void put32(std::uint8_t* at, std::uint32_t value) {
    put16(at, value);
    put16(at + 2, value >> 16);
}

}  // namespace

std::array<std::uint8_t, bmpPixelOffset> bmpHeaders(std::int32_t width, std::int32_t height) {
    std::array<std::uint8_t, bmpPixelOffset> h{};
    h[0] = 'B';
    h[1] = 'M';
    put32(&h[2], bmpFileSize(width, height));
    put32(&h[10], bmpPixelOffset);
    put32(&h[14], bmpInfoHeaderSize);
    put32(&h[18], static_cast<std::uint32_t>(width));
    put32(&h[22], static_cast<std::uint32_t>(height));  // positive: rows stored bottom-up
    put16(&h[26], 1);
    put16(&h[28], 24);
    // Compression, image size, resolutions and colour counts stay 0.
    return h;
}
