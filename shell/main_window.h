// The program's one main window: its menu, the card control and the modal run.
#pragma once

#include <windows.h>

// Creates and runs the main window; returns when it has ended (always 0).
INT_PTR showMainWindow(HWND owner);
HMENU buildMainMenu(HWND window);
// The card control's size at that display scale: its size at 100 % grown in
// proportion.
void fitCardControl(HWND card, int dpi);
