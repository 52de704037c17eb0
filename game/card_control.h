// The card control's own procedure: the presses, keys, focus, timer and
// screen reader's requests that reach the card, handed to the card on
// screen (card_view) and its accessible object (card_accessible).
#pragma once

#include <windows.h>

// Puts cardControlProc in front of the card control's own procedure.
void installCardControlProc(HWND cardControl);
LRESULT CALLBACK cardControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
