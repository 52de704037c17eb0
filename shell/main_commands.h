// The main window's one procedure: start-up work, the four menu commands,
// the painting of the card control and the close request.
#pragma once

#include <windows.h>

INT_PTR CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
