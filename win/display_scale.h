// The display scale of 100 %. Standard C++ only: the card's pure geometry
// and the Win32 side both measure their lengths at it.
#pragma once

// Dots per inch at 100 %: a length given at 100 % grows from here in
// proportion to a window's scale.
constexpr int fullScaleDpi = 96;
