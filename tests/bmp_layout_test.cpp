#include <gtest/gtest.h>

#include <cstring>

#include "shell/bmp_layout.h"

TEST(BmpLayout, HeadersOfTheCanvas) {
    EXPECT_EQ(bmpStride(790), 2372u);
    EXPECT_EQ(bmpStride(1), 4u);
    EXPECT_EQ(bmpStride(4), 12u);
    EXPECT_EQ(bmpFileSize(790, 470), 1114894u);
    const auto h = bmpHeaders(790, 470);
    const std::uint8_t expected[54] = {
        'B', 'M', 0x0E, 0x03, 0x11, 0x00, 0, 0, 0, 0, 54, 0, 0, 0,                    // file header
        40, 0, 0, 0, 0x16, 0x03, 0, 0, 0xD6, 0x01, 0, 0, 1, 0, 24, 0,                // size, width, height, planes, bits
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // the rest is 0
    };
    EXPECT_EQ(0, std::memcmp(h.data(), expected, 54));
}
