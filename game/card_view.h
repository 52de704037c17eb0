// The card on screen and its changes: the series and the record of the card
// that it shows (card_rules), its two pictures (the canvas at 100 %, which a
// photocopy saves, and the picture at the card control's scale), the pause
// after a losing card, the sounds, and what the card control paints.
#pragma once

#include <windows.h>

#include "card_rules.h"

// The card control's timer that ends the pause after a losing card, and the
// message posted to it instead where no timer can be had: the pause then
// ends once the press that began it has been handled.
constexpr UINT_PTR cardPauseTimer = 1;
constexpr UINT cardPauseOver = WM_APP + 1;

// Game 1, no card yet, none in play.
void resetSeries();
// Creates the 790 x 470 canvas, filled with the card background.
void createCardCanvas();
HBITMAP cardCanvasBitmap();
// The card control shows the card at that display scale (dots per inch,
// 96 for 100 %): drawn anew for it, pressed and framed at its places. The
// canvas stays at 100 %.
void setCardDpi(HWND cardControl, int dpi);
int cardControlDpi();
// The card on screen, as its pictures show it and a screen reader reads it.
const CardShown& shownCard();

// Play: a fresh covered card of the current game, played from now on; in
// the pause after a losing card, the next game's card, once.
void startCard(HWND mainWindow);
// Set up: the card on screen stays as it is but is no longer played, and
// so shows no keyboard mark; in the pause, the next game's covered card.
void deactivateCard(HWND mainWindow);

// Ends the pause after a losing card at once, as its time would: the next
// game's covered card. Nothing happens outside the pause.
void finishCardPause(HWND mainWindow);

// A click on the card at a place of the canvas: it gives the card the
// focus, takes the keyboard's mark to the star clicked and presses there.
void clickCard(HWND cardControl, CellHit hit);
// Space or Enter: presses the marked star.
void pressMarkedStar(HWND cardControl);
// An arrow: the mark moves to the next star that way.
void moveCardMark(HWND cardControl, CardKey key);

// WM_DRAWITEM of the card control.
void paintCardControl(const DRAWITEMSTRUCT& item);
