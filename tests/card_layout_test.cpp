#include <gtest/gtest.h>

#include <utility>

#include "game/card_layout.h"
#include "shell/main_layout.h"

TEST(CardLayout, PressBandsAndTheirEdges) {
    struct Case {
        unsigned x, y;
        int column, row;
    };
    const Case cases[] = {
        {0, 0, 1, 1},     {50, 60, 1, 1},   {219, 144, 1, 1}, {220, 144, 2, 1}, {439, 145, 2, 2},
        {440, 289, 3, 2}, {659, 290, 3, 3}, {659, 434, 3, 3}, {660, 100, 4, 1}, {100, 435, 1, 4},
        {789, 469, 4, 4}, {65535, 65535, 298, 452},
    };
    for (const Case& c : cases) {
        CellHit hit = cellAt(c.x, c.y);
        EXPECT_EQ(hit.column, c.column) << c.x << "," << c.y;
        EXPECT_EQ(hit.row, c.row) << c.x << "," << c.y;
        EXPECT_EQ(hit.onCard(), c.column <= 3 && c.row <= 3);
    }
}

TEST(CardLayout, CellPositions) {
    EXPECT_EQ(cellX(1), 120);
    EXPECT_EQ(cellX(2), 340);
    EXPECT_EQ(cellX(3), 560);
    EXPECT_EQ(cellY(1), 15);
    EXPECT_EQ(cellY(2), 160);
    EXPECT_EQ(cellY(3), 305);
    // Every uncovered star lies inside its own band.
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(cellAt(static_cast<unsigned>(cellX(i) - uncoveredShift), 0).column, i);
        EXPECT_EQ(cellAt(static_cast<unsigned>(cellX(i) - uncoveredShift + starSize - 1), 0).column, i);
        EXPECT_EQ(cellAt(0, static_cast<unsigned>(cellY(i) + starSize - 1)).row, i);
    }
}

TEST(CardLayout, FigureTextAndOffset) {
    const int figures[] = {-5, 0, 7, 9, 10, 99, 100, 999, 1000, 1234, 9999, 10000};
    const int offsets[] = {39, 39, 39, 39, 34, 34, 27, 27, 23, 23, 23, -1};
    for (std::size_t i = 0; i < std::size(figures); ++i) EXPECT_EQ(figureDx(figures[i]), offsets[i]) << figures[i];
    EXPECT_EQ(figureText(500, L" \u20AC"), L"500 \u20AC");
    EXPECT_EQ(figureText(0, L" $"), L"0 $");
}

// The card at 100, 125, 150, 175 and 200 %: canvas places scaled to the
// screen and back to the same place; the main window's client area (under
// its menu bar) and the card control their size at 100 % grown in
// proportion, for the base units of the template's bold MS Sans Serif at
// 100 % (7 x 13) and its menu bar of 19 pixels.
TEST(CardLayout, AtEachDisplayScale) {
    struct Scale {
        int dpi;
        int star, width, height, centreX;  // the star's size, the card's, the centre star's left
        PixelSize client, control;
    };
    const Scale scales[] = {
        {96, 101, 790, 470, 340, {926, 556}, {928, 536}},      {120, 127, 988, 588, 425, {1158, 695}, {1160, 670}},
        {144, 152, 1185, 705, 510, {1389, 834}, {1392, 804}},  {168, 177, 1383, 823, 595, {1621, 973}, {1624, 938}},
        {192, 202, 1580, 940, 680, {1852, 1112}, {1856, 1072}},
    };
    const BaseUnits base = {7, 13};
    const auto pair = [](PixelSize size) { return std::make_pair(size.cx, size.cy); };
    for (const Scale& s : scales) {
        EXPECT_EQ(toScreen(starSize, s.dpi), s.star) << s.dpi;
        EXPECT_EQ(toScreen(canvasWidth, s.dpi), s.width) << s.dpi;
        EXPECT_EQ(toScreen(canvasHeight, s.dpi), s.height) << s.dpi;
        EXPECT_EQ(toScreen(cellX(2), s.dpi), s.centreX) << s.dpi;
        EXPECT_EQ(pair(mainClientAtScale(base, 19, s.dpi)), pair(s.client)) << s.dpi;
        EXPECT_EQ(pair(cardControlAtScale(base, s.dpi)), pair(s.control)) << s.dpi;
        for (int canvas = 0; canvas < canvasWidth; ++canvas) {
            ASSERT_EQ(toCanvas(toScreen(canvas, s.dpi), s.dpi), canvas) << s.dpi;
        }
    }
}
