// The program's one main window: its menu, the card control and the modal run.
#pragma once

#include <windows.h>

// Creates and runs the main window; returns when it has ended (always 0).
INT_PTR showMainWindow(HWND owner);
HMENU buildMainMenu(HWND window);
