#include "bmp_layout.h"

#include "../win/little_endian.h"

std::array<std::uint8_t, bmpPixelOffset> bmpHeaders(std::int32_t width, std::int32_t height) {
    std::array<std::uint8_t, bmpPixelOffset> h{};
    h[0] = 'B';
    h[1] = 'M';
    storeLittleEndian(&h[2], bmpFileSize(width, height));
    storeLittleEndian(&h[10], bmpPixelOffset);
    storeLittleEndian(&h[14], bmpInfoHeaderSize);
    storeLittleEndian(&h[18], width);
    storeLittleEndian(&h[22], height);  // positive: rows stored bottom-up
    storeLittleEndian<std::uint16_t>(&h[26], 1);
    storeLittleEndian(&h[28], bmpBitsPerPixel);
    // Compression, image size, resolutions and colour counts stay 0.
    return h;
}
