// The main window's callback: start-up work and the four menu commands.
#pragma once

#include <windows.h>

INT_PTR mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
