// The display scale. Standard C++ only: the card's pure geometry, the
// windows' layout and the Win32 side all measure their lengths at 100 % and
// grow them in proportion from there, windows and their controls to the
// nearest pixel (atScale); the card's places round up instead (toScreen in
// card_layout.h), so that a press comes back to the canvas pixel it hit.
#pragma once

// Dots per inch at 100 %: a length given at 100 % grows from here in
// proportion to a window's scale.
constexpr int fullScaleDpi = 96;

// a * b / c to the nearest whole number, a half rounded up, as MulDiv
// rounds (for lengths, never negative).
constexpr int mulDiv(int a, int b, int c) { return (2 * a * b + c) / (2 * c); }

// A length of 100 % at that scale.
constexpr int atScale(int length, int dpi) { return mulDiv(length, dpi, fullScaleDpi); }

struct PixelSize {
    int cx, cy;
};

struct DialogUnits {
    int cx, cy;
};

// The base units of a dialog's font in pixels: a dialog unit is a quarter
// of the first across and an eighth of the second down.
struct BaseUnits {
    int cx, cy;
};

// Dialog units in pixels of 100 % for the font's base units there, each
// length on its own as the dialog manager maps them, grown to that scale.
constexpr int unitsAcross(int units, BaseUnits base, int dpi) { return atScale(mulDiv(units, base.cx, 4), dpi); }
constexpr int unitsDown(int units, BaseUnits base, int dpi) { return atScale(mulDiv(units, base.cy, 8), dpi); }
constexpr PixelSize unitsAtScale(DialogUnits units, BaseUnits base, int dpi) {
    return PixelSize{unitsAcross(units.cx, base, dpi), unitsDown(units.cy, base, dpi)};
}
