// The main window's size at a display scale. Standard C++ only: the window
// takes it, and the tests check it natively.
#pragma once

#include "../win/display_scale.h"

// The main window's client area and the card control, in dialog units: the
// control is one unit wider than the client area.
constexpr DialogUnits mainClientUnits = {529, 354};
constexpr DialogUnits cardControlUnits = {530, 330};

// At every scale the window and the card control take their size at 100 %
// grown in proportion, so that the card, drawn in proportion, fills its
// control as it does at 100 %. The base units and the menu bar's height are
// those of 100 %.
constexpr PixelSize cardControlAtScale(BaseUnits base, int dpi) { return unitsAtScale(cardControlUnits, base, dpi); }
// The menu bar takes its place from the client area's units.
constexpr PixelSize mainClientAtScale(BaseUnits base, int menuBar, int dpi) {
    return PixelSize{unitsAcross(mainClientUnits.cx, base, dpi),
                     atScale(mulDiv(mainClientUnits.cy, base.cy, 8) - menuBar, dpi)};
}
