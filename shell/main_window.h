// The program's one main window: its menu, the card control and the modal run.
#pragma once

#include <windows.h>

// Creates and runs the main window; returns when it has ended (always 0).
INT_PTR showMainWindow(HWND owner);
HMENU buildMainMenu(HWND window);

void setPlayEnabled(bool enabled);

// Ends the main window with result 0; the program ends once the modal run
// (and any dialog still open inside it) returns.
void endMainWindow();

// Copies an image into the card control's retained image at (0, 0), over the
// area both have in common, and repaints the control at once.
void showOnCardControl(HWND window, HBITMAP image);
