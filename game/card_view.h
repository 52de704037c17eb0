// The card on screen: the off-screen canvas that holds its pixels, the
// painting of the card control from it, and the control's handling of
// presses, as the card's rules (card_rules) decide them.
#pragma once

#include <windows.h>

#include <string>

#include "card_deal.h"
#include "card_rules.h"

// Game 1, nothing uncovered, no card in play.
void resetSeries();
// Creates the 790 x 470 canvas, filled with the card background.
void createCardCanvas();
HBITMAP cardCanvasBitmap();
// The card control shows the card at that display scale (dots per inch,
// 96 for 100 %): drawn anew for it, pressed and framed at its places. The
// canvas stays at 100 %.
void setCardDpi(HWND cardControl, int dpi);
int cardControlDpi();
// The series that the card on screen was dealt from.
const SeriesDeal& dealtSeries();
// The series and the card on screen.
const SeriesState& cardSeries();
// The figure under a star of the card on screen, as the card shows it:
// its digits and the edition's currency suffix.
std::wstring starFigureText(CellHit star);

// Play: a fresh covered card of the current game, reacting to presses.
void startCard(HWND mainWindow);
// The card on screen stays as it is but no longer reacts to presses or
// keys, and so shows no keyboard mark.
void deactivateCard(HWND mainWindow);

// Deals the series and shows a fresh covered card of the current game.
void drawNewCard(HWND mainWindow);
// Ends the pause after a losing card at once, as its time would: the next
// game's covered card. Nothing happens outside the pause.
void finishCardPause(HWND mainWindow);

// WM_DRAWITEM of the card control: the card from the canvas, and the part
// of the control beyond it in the card's background.
void paintCardControl(const DRAWITEMSTRUCT& item);

// Puts cardControlProc in front of the card control's own procedure.
void installCardControlProc(HWND cardControl);
LRESULT CALLBACK cardControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
