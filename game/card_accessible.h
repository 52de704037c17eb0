// The card as a screen reader finds it: the card control's accessible
// object, with one child per star in reading order, and the events that tell
// a reader what changed. It reads the card where card_view keeps it.
#pragma once

#include <windows.h>

// WM_GETOBJECT of the card control: its accessible object for OBJID_CLIENT,
// 0 for what the control's own procedure answers.
LRESULT answerCardObject(HWND card, WPARAM flags, LPARAM objectId);
// WM_NCDESTROY of the card control: a reader that still holds the object
// gets errors from then on.
void retireCardObject(HWND card);
// At the program's end: lets go of COM, where a reader made it open.
void closeCardReading();

// The marked star has the keyboard focus; or the card itself, where it
// offers no star to press. Raised when the card takes the focus, when the
// mark moves and when the stars stop or start taking presses.
void announceFocus(HWND card);
// The stars stopped taking presses (a finished card) or take them again,
// and what they say changed with it: a new card's marked star tells its
// game (heard also by a reader that drops a focus event repeated on the
// star it is on), the winning ones say so.
void announceStars(HWND card);
// A star that was covered shows its figure.
void announceUncovered(HWND card, int column, int row);
// The card reads anew as a whole: another card, won, or set aside.
void announceCard(HWND card);
