// The program's one main window: its menu, the card control and the modal run.
#pragma once

#include <windows.h>

#include "../win/display_scale.h"

// Creates and runs the main window; returns when it has ended (always 0).
INT_PTR showMainWindow(HWND owner);
HMENU buildMainMenu(HWND window);

// The window's size at that display scale.
PixelSize mainWindowSize(HWND window, int dpi);
// The one procedure that applies a display scale to the window, at its
// initialisation and at every change: the window and the card control take
// their size at that scale (at the top left of the place suggested, or where
// the window stands for none), the icons theirs, and the card is drawn at it.
void scaleMainWindow(HWND window, int dpi, const RECT* suggested);
