// The card control in a test's own window, for the tests of the card on
// screen and of what a screen reader reads of it.
#pragma once

#include <windows.h>

#include <functional>

// A stand-in for the main window: a dialog holding only the card control,
// with the card game's procedure installed on it, shown so that the card
// paints. Made at first use, it lasts as long as the test program.
struct CardWindow {
    HWND window;
    HWND card;
};
CardWindow& cardWindow();
// Called at each paint of the card control while it is set.
extern std::function<void()> onCardPaint;

// The standard set-up with that number of games and comment.
void configure(const char* games, const char* comment = "");

void press(unsigned x, unsigned y);
void pressCell(int column, int row);
// Presses the first `count` cells in reading order.
void pressCells(int count = 9);
// A key as the system sends it, `held` when the keyboard's repeat sent it.
void key(WPARAM code, bool held = false);
// Handles the messages that wait in the thread's queue.
void dispatchWaiting();
// Handles the thread's messages until the pause after a losing card is
// over (at most 10 s); returns how long that took, in milliseconds.
DWORD waitOutThePause();

// While it lives, every SetTimer of this program fails, as where the system
// has no timer left to give: the program's own import of it is pointed at a
// stand-in that refuses.
class TimersRefused {
public:
    TimersRefused();
    ~TimersRefused();
    TimersRefused(const TimersRefused&) = delete;
    TimersRefused& operator=(const TimersRefused&) = delete;

private:
    void** entry_;
    void* real_;
};
