// The rules of the card in play: which game of the series it is, which cells
// are uncovered, and what a press does. Standard C++ only: card_view draws,
// sounds and pauses as these rules say, and the tests run them natively.
#pragma once

#include <cstdint>

#include "card_deal.h"
#include "card_layout.h"

// What became of the card on screen: still to be finished, or finished
// and lost (the pause before the next card) or won.
enum class CardOutcome { pending, lost, won };

// The series on screen.
struct SeriesState {
    std::int16_t gameNumber = 1;
    std::int16_t uncoveredCount = 0;
    // 1 while the card reacts to presses.
    std::int32_t gameActive = 0;
    CardCell cardCells[cardColumns][cardRows] = {};
    // The star that the keyboard's mark is on.
    CellHit mark = {1, 1};
    // The game that the card on screen was dealt for, 0 before the first
    // card: a finished card stays on view after the series has moved on.
    std::int16_t shownGame = 0;
    CardOutcome outcome = CardOutcome::pending;
};

// Play: the card about to be drawn (newCard) reacts to presses. The game
// number stays: Play in the middle of a series gives a fresh card of the
// same game.
void playCard(SeriesState& state);

// A fresh covered card of the current game, every cell at its place, none
// uncovered and the keyboard's mark on the top-left star. A game past the
// series (a set-up may have shortened it) starts it again at 1.
void newCard(SeriesState& state, int gamesInSeries);

// Whether the card on screen takes presses and keys.
inline bool cardInPlay(const SeriesState& state) { return state.gameActive == 1; }
// Set up: the card on screen stays in view but is no longer played, nor
// counted as won; it takes presses again only after Play.
void setCardAside(SeriesState& state);

// Whether the card on screen offers its stars to be read: while it is
// played, and once won. A card set aside offers none.
inline bool starsOnOffer(const SeriesState& state) {
    return cardInPlay(state) || state.outcome == CardOutcome::won;
}
// Whether a press or a key plays the card on screen: not once it is
// finished. Those that come during the pause after a losing card are
// dropped, not kept for the next card.
inline bool starsPressable(const SeriesState& state) {
    return cardInPlay(state) && state.outcome == CardOutcome::pending;
}
// The pause: a losing card finished, still in view, the next game's card
// to follow.
inline bool cardPaused(const SeriesState& state) {
    return cardInPlay(state) && state.outcome == CardOutcome::lost;
}
// A card just dealt, nothing of it uncovered yet: it tells a screen reader
// which game it is.
inline bool freshCard(const SeriesState& state) { return starsPressable(state) && state.uncoveredCount == 0; }
// The star that holds the keyboard focus while the card has it: the marked
// one while the card can be played; none ({0, 0}, the card itself holds
// it) when the card offers nothing to press.
inline CellHit focusedStar(const SeriesState& state) {
    return starsPressable(state) ? state.mark : CellHit{0, 0};
}

enum class PressResult {
    ignored,          // no card in play, or its pause
    offCard,          // outside the nine cells' bands
    cellShown,        // a cell uncovered, or an uncovered one pressed again
    losingCardDone,   // the ninth cell of a losing card: the next game follows
    winningCardDone,  // the ninth cell of the winning card: the series is over
};

// A press that fell in `cell` (cellAt of its position). Each cell counts
// once; the ninth ends the card, and the card of the last game of the series
// is the winning one. After it the series starts again at game 1 and the
// card no longer reacts.
PressResult pressCell(SeriesState& state, CellHit cell, int gamesInSeries);

enum class CardKey { left, right, up, down };

// The star that an arrow key moves the mark to from `mark`: the next one
// that way, or the same one at the card's edge.
CellHit markAfterKey(CellHit mark, CardKey key);
