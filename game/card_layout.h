// Where things stand on the card canvas, and which cell a press falls in.
// Standard C++ only: the drawing and the press handler use it, and the tests
// check it natively.
#pragma once

#include <string>

#include "../win/display_scale.h"

constexpr int canvasWidth = 790;
constexpr int canvasHeight = 470;
constexpr int cardColumns = 3;
constexpr int cardRows = 3;

// Every star image is scaled to this many pixels square.
constexpr int starSize = 101;
// The uncovered star sits this far left of the covered one.
constexpr int uncoveredShift = 5;

// A press counts for a cell anywhere in the cell's band, not only on its star.
constexpr int bandWidth = 220;
constexpr int bandHeight = 145;

// How far the keyboard's mark, a frame around the marked star, stands clear
// of the star (in either of its places).
constexpr int markMargin = 6;

constexpr int commentX = 120;
constexpr int commentY = 420;
constexpr int figureDy = 40;

// Left and top pixel of a cell's covered star (column and row from 1 to 3).
constexpr int cellX(int column) { return 120 + (column - 1) * 220; }
constexpr int cellY(int row) { return 15 + (row - 1) * 145; }

// The canvas is drawn at 100 %; the screen's card is the same card drawn at
// the display's scale. A canvas position scales up to the first screen
// pixel at or past it, and every screen pixel belongs to the canvas pixel
// under it, so a place survives the way there and back.
constexpr int toScreen(int canvas, int dpi) { return (canvas * dpi + fullScaleDpi - 1) / fullScaleDpi; }
constexpr int toCanvas(int screen, int dpi) { return screen * fullScaleDpi / dpi; }

struct CellHit {
    int column;
    int row;
    bool onCard() const { return column >= 1 && column <= cardColumns && row >= 1 && row <= cardRows; }
};

// x and y are the unsigned 16-bit halves of the press position.
constexpr CellHit cellAt(unsigned x, unsigned y) {
    return CellHit{static_cast<int>(x / bandWidth) + 1, static_cast<int>(y / bandHeight) + 1};
}

// How far right of the cell's x a figure's text starts; -1 where no text is
// drawn (figures from 10000 up).
int figureDx(int figure);

// The figure as shown: its digits and the edition's currency suffix.
std::wstring figureText(int figure, const wchar_t* currencySuffix);
