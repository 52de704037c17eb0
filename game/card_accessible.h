// The card as a screen reader finds it: the card control's accessible
// object, with one child per star in reading order, and the events that tell
// a reader what changed. It reads the record of the card on screen
// (card_view), and nothing of the set-up behind it.
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

// WM_SETFOCUS of the card control: a reader hears which of its elements has
// the focus, the marked star or, where it offers no star to press, the card
// itself.
void announceFocus(HWND card);
// The card on screen changed: a reader hears of each thing that now reads
// otherwise than when it was last told (the card's name or description,
// its stars coming or going, a star's state, value or description, the
// focus moving), and of nothing else.
void tellReader(HWND card);
