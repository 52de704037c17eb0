// The card on screen: the off-screen canvas, the state of the series, and
// the card control's handling of presses.
#pragma once

#include <windows.h>

// Game 1, nothing uncovered, no card in play.
void resetSeries();
// Creates the 790 x 470 canvas, filled with the card background.
void createCardCanvas();
HBITMAP cardCanvasBitmap();

// Play: a fresh covered card of the current game, reacting to presses.
void startCard(HWND mainWindow);
// The card on screen stays as it is but no longer reacts to presses.
void deactivateCard();

// Deals the series and shows a fresh covered card of the current game.
void drawNewCard(HWND mainWindow);
// Fills the whole of a bitmap with the card background colour.
void clearCanvas(HBITMAP canvas);

// Puts cardControlProc in front of the card control's own procedure.
void installCardControlProc(HWND cardControl);
LRESULT CALLBACK cardControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
