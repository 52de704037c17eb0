// The rules of the card on screen: which game of the series it is, which
// cells are uncovered, and what a press does. Standard C++ only: the card's
// pictures, its control and its accessible object show and tell the record
// these rules write, and the tests run them natively.
#pragma once

#include <cstdint>

#include "../config/config_record.h"
#include "card_deal.h"
#include "card_layout.h"

// What became of the card on screen: still to be finished, or finished
// and lost (the pause before the next card) or won.
enum class CardOutcome { pending, lost, won };

// The card on screen: everything that its pictures show and a screen reader
// reads, and nothing else. The rules below write it; a picture or a reader
// that reads it never looks at the set-up or the deal behind it.
struct CardShown {
    // The game it was dealt for, 0 before the first card, and the length of
    // the series it was dealt in.
    std::int16_t game = 0;
    std::int16_t seriesLength = 0;
    // 1 while the card is played: from Play until it is won or set aside.
    std::int32_t gameActive = 0;
    std::int16_t uncoveredCount = 0;
    CardCell cardCells[cardColumns][cardRows] = {};
    // The figure under each star.
    std::int32_t figures[cardColumns][cardRows] = {};
    // 1 at the three stars of the winning figure, on the winning card.
    std::int32_t winningCells[cardColumns][cardRows] = {};
    CardOutcome outcome = CardOutcome::pending;
    // Set up set it aside: it stays in view as it was, but offers nothing
    // until the next Play.
    bool setAside = false;
    // The surprise comment it was won with.
    CommentText comment;
    // The star that the keyboard's mark is on.
    CellHit mark = {1, 1};
};

// The series and the card on screen.
struct SeriesState {
    // The game that the next card is dealt for.
    std::int16_t gameNumber = 1;
    CardShown card;
};

// Play: the card about to be dealt (newCard) is played. The game number
// stays: Play in the middle of a series gives a fresh card of the same game.
void playCard(SeriesState& state);

// A fresh covered card of the current game, from the deal: its figures,
// every cell at its place, none uncovered and the keyboard's mark on the
// top-left star. A game past the series (a set-up may have shortened it)
// starts it again at 1.
void newCard(SeriesState& state, const SeriesDeal& deal, int gamesInSeries);

// Set up: the card on screen stays in view as it is, but is no longer
// played and offers nothing until Play.
void setCardAside(SeriesState& state);

// Whether the card on screen is being played (its pause included).
inline bool cardInPlay(const CardShown& card) { return card.gameActive == 1; }
// Whether the card on screen shows the winning display, set aside or not.
inline bool cardWon(const CardShown& card) { return card.outcome == CardOutcome::won; }
// Whether the card offers its stars to be read: while it is played, and
// once won, until it is set aside.
inline bool starsOnOffer(const CardShown& card) { return cardInPlay(card) || (cardWon(card) && !card.setAside); }
// Whether a press or a key plays the card: not once it is finished. Those
// that come during the pause after a losing card are dropped, not kept for
// the next card.
inline bool starsPressable(const CardShown& card) {
    return cardInPlay(card) && card.outcome == CardOutcome::pending;
}
// The pause: a losing card finished, still in view, the next game's card
// to follow.
inline bool cardPaused(const CardShown& card) { return cardInPlay(card) && card.outcome == CardOutcome::lost; }
// A card just dealt, nothing of it uncovered yet: it tells a screen reader
// which game it is.
inline bool freshCard(const CardShown& card) { return starsPressable(card) && card.uncoveredCount == 0; }
// The star that holds the keyboard focus while the card has it: the marked
// one while the card can be played; none ({0, 0}, the card itself holds
// it) when the card offers nothing to press.
inline CellHit focusedStar(const CardShown& card) { return starsPressable(card) ? card.mark : CellHit{0, 0}; }
inline bool uncovered(const CardShown& card, CellHit star) {
    return card.cardCells[star.column - 1][star.row - 1].uncovered != 0;
}
inline std::int32_t figureUnder(const CardShown& card, CellHit star) {
    return card.figures[star.column - 1][star.row - 1];
}
// One of the three red figures of the won card.
inline bool winningStar(const CardShown& card, CellHit star) {
    return cardWon(card) && card.winningCells[star.column - 1][star.row - 1] == 1;
}

enum class PressResult {
    ignored,          // no card in play, or its pause
    offCard,          // outside the nine cells' bands
    cellShown,        // a cell uncovered, or an uncovered one pressed again
    losingCardDone,   // the ninth cell of a losing card: the next game follows
    winningCardDone,  // the ninth cell of the winning card: the series is over
};

// A press that fell in `cell` (cellAt of its position). Each cell counts
// once; the ninth ends the card, and the card dealt as the last game of its
// series is the winning one, which keeps `comment` as the comment it was
// won with. After it the series starts again at game 1 and the card is no
// longer played.
PressResult pressCell(SeriesState& state, CellHit cell, const CommentText& comment);

// The keyboard's mark goes to a star, while the card can be played;
// returns whether it moved.
bool moveMark(SeriesState& state, CellHit to);

enum class CardKey { left, right, up, down };

// The star that an arrow key moves the mark to from `mark`: the next one
// that way, or the same one at the card's edge.
CellHit markAfterKey(CellHit mark, CardKey key);
