// The configuration dialog where the card is set up.
#pragma once

#include <windows.h>

// Shows the dialog modally; returns when it has closed, true when it stored
// a new set-up (which makes the card playable).
bool showConfigDialog(HWND owner);
INT_PTR CALLBACK configDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
