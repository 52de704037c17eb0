#include <gtest/gtest.h>

#include "shell/bmp_layout.h"
#include "shell/snapshot.h"
#include "win_test_support.h"

namespace {

// A 790 x 470 canvas in the card colour with a few marked pixels.
HBITMAP makeCanvas() {
    HDC screen = GetDC(nullptr);
    HBITMAP canvas = CreateCompatibleBitmap(screen, 790, 470);
    ReleaseDC(nullptr, screen);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, canvas);
    HBRUSH brush = CreateSolidBrush(RGB(29, 30, 25));
    RECT all = {0, 0, 790, 470};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    SetPixel(dc, 0, 469, RGB(255, 0, 0));  // bottom-left
    SetPixel(dc, 789, 0, RGB(0, 0, 255));  // top-right
    SelectObject(dc, previous);
    DeleteDC(dc);
    return canvas;
}

class Snapshot : public ::testing::Test {
protected:
    void TearDown() override { DeleteObject(canvas); }
    HBITMAP canvas = makeCanvas();
    FreshFolder folder;
    const std::wstring path = folder.path(L"MiCopia.bmp");
};

}  // namespace

TEST_F(Snapshot, WritesTheCanvasAs24BitBottomUp) {
    ASSERT_TRUE(saveBitmapFile(canvas, path));
    std::vector<unsigned char> file = readFileBytes(path);
    ASSERT_EQ(file.size(), 1114894u);
    const auto headers = bmpHeaders(790, 470);
    EXPECT_TRUE(std::equal(headers.begin(), headers.end(), file.begin()));
    const size_t stride = 2372;
    // The first stored row is the bottom row: its first pixel is red.
    EXPECT_EQ(file[54], 0x00);
    EXPECT_EQ(file[55], 0x00);
    EXPECT_EQ(file[56], 0xFF);
    EXPECT_EQ(file[57], 0x19);
    EXPECT_EQ(file[58], 0x1E);
    EXPECT_EQ(file[59], 0x1D);
    // The last stored row is the top row: its last pixel is blue.
    const size_t top = 54 + 469 * stride;
    EXPECT_EQ(file[top + 789 * 3], 0xFF);
    EXPECT_EQ(file[top + 789 * 3 + 2], 0x00);
    for (size_t row = 0; row < 470; ++row) {
        EXPECT_EQ(file[54 + row * stride + 2370], 0);
        EXPECT_EQ(file[54 + row * stride + 2371], 0);
    }
}

TEST_F(Snapshot, ReplacesLongerAndShorterFiles) {
    writeFileBytes(path, std::vector<unsigned char>(2000000, 0xAB));
    ASSERT_TRUE(saveBitmapFile(canvas, path));
    EXPECT_EQ(readFileBytes(path).size(), 1114894u);
    writeFileBytes(path, std::vector<unsigned char>(10, 0xAB));
    ASSERT_TRUE(saveBitmapFile(canvas, path));
    std::vector<unsigned char> file = readFileBytes(path);
    EXPECT_EQ(file.size(), 1114894u);
    EXPECT_EQ(file[0], 'B');
}

TEST_F(Snapshot, FailuresAreReportedAndKeepThePreviousFile) {
    EXPECT_FALSE(saveBitmapFile(canvas, L""));
    EXPECT_FALSE(saveBitmapFile(canvas, folder.path(L"no such folder\\MiCopia.bmp")));
    EXPECT_FALSE(saveBitmapFile(nullptr, path));
    EXPECT_TRUE(folder.files().empty());

    const std::vector<unsigned char> previous(100, 0xAB);
    writeFileBytes(path, previous);
    HANDLE holder = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(saveBitmapFile(canvas, path));
    CloseHandle(holder);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(saveBitmapFile(canvas, path));
    EXPECT_EQ(readFileBytes(path), previous);
    EXPECT_EQ(folder.files(), std::vector<std::wstring>{L"MiCopia.bmp"});
}
