#include <gtest/gtest.h>

#include <iterator>
#include <utility>
#include <vector>

#include "game/card_rules.h"

namespace {

using R = PressResult;
using O = CardOutcome;

// A press in the middle of a cell's band.
CellHit cell(int column, int row) { return cellAt(static_cast<unsigned>((column - 1) * bandWidth + 100),
                                                  static_cast<unsigned>((row - 1) * bandHeight + 70)); }

// The nine cells in reading order.
std::vector<CellHit> wholeCard() {
    std::vector<CellHit> cells;
    for (int row = 1; row <= 3; ++row)
        for (int column = 1; column <= 3; ++column) cells.push_back(cell(column, row));
    return cells;
}

struct Scenario {
    const char* name;
    int games;                   // in the series
    std::int16_t gameNumber;     // when Play is chosen
    bool play;                   // false: presses before any Play
    std::vector<CellHit> presses;
    R lastResult;
    std::int16_t gameAfter;
    std::int16_t uncoveredAfter;
    std::int32_t activeAfter;
    std::int16_t shownAfter;  // the game of the card left on screen
    CardOutcome outcomeAfter;
};

}  // namespace

TEST(CardRules, PressesAsTheSeriesGoes) {
    std::vector<CellHit> eightThenAgain = wholeCard();
    eightThenAgain.pop_back();
    eightThenAgain.push_back(cell(1, 1));
    const Scenario scenarios[] = {
        {"before Play", 3, 1, false, {cell(1, 1)}, R::ignored, 1, 0, 0, 1, O::pending},
        {"outside the bands", 3, 1, true, {cellAt(660, 100), cellAt(100, 435)}, R::offCard, 1, 0, 1, 1, O::pending},
        {"a cell pressed again counts once", 3, 1, true, eightThenAgain, R::cellShown, 1, 8, 1, 1, O::pending},
        {"the ninth cell of a losing card", 3, 1, true, wholeCard(), R::losingCardDone, 2, 0, 1, 1, O::lost},
        {"the ninth cell of the winning card", 3, 3, true, wholeCard(), R::winningCardDone, 1, 0, 0, 3, O::won},
        {"one game: every card wins", 1, 1, true, wholeCard(), R::winningCardDone, 1, 0, 0, 1, O::won},
        {"a game past a shortened series starts at 1", 2, 5, true, wholeCard(), R::losingCardDone, 2, 0, 1, 1,
         O::lost},
    };
    std::vector<CellHit> wholeThenInThePause = wholeCard();
    wholeThenInThePause.push_back(cell(2, 2));
    wholeThenInThePause.push_back(cellAt(660, 100));
    const Scenario inThePause = {"presses in the pause are dropped", 3, 1, true, wholeThenInThePause, R::ignored,
                                 2, 0, 1, 1, O::lost};
    std::vector<Scenario> all(std::begin(scenarios), std::end(scenarios));
    all.push_back(inThePause);
    for (const Scenario& s : all) {
        SeriesState state;
        state.gameNumber = s.gameNumber;
        if (s.play) playCard(state);
        newCard(state, s.games);
        R result = R::ignored;
        for (const CellHit& press : s.presses) result = pressCell(state, press, s.games);
        EXPECT_EQ(result, s.lastResult) << s.name;
        EXPECT_EQ(state.gameNumber, s.gameAfter) << s.name;
        EXPECT_EQ(state.uncoveredCount, s.uncoveredAfter) << s.name;
        EXPECT_EQ(state.gameActive, s.activeAfter) << s.name;
        EXPECT_EQ(state.shownGame, s.shownAfter) << s.name;
        EXPECT_EQ(state.outcome, s.outcomeAfter) << s.name;
        // The card in its pause takes no press and no key, and the focus
        // is on the card itself, not on a star, whenever no star takes one.
        EXPECT_EQ(cardPaused(state), s.activeAfter == 1 && s.outcomeAfter == O::lost) << s.name;
        EXPECT_EQ(starsPressable(state), s.activeAfter == 1 && s.outcomeAfter == O::pending) << s.name;
        EXPECT_EQ(focusedStar(state).onCard(), starsPressable(state)) << s.name;
        EXPECT_EQ(freshCard(state), starsPressable(state) && s.uncoveredAfter == 0) << s.name;
    }
}

TEST(CardRules, AFreshCardIsCoveredAtItsPlacesAndAFinishedSeriesIgnoresPresses) {
    SeriesState state;
    playCard(state);
    newCard(state, 1);
    pressCell(state, cell(2, 3), 1);
    EXPECT_EQ(state.cardCells[1][2].uncovered, 1);
    playCard(state);  // Play again mid-card: a fresh card of the same game
    newCard(state, 1);
    EXPECT_EQ(state.uncoveredCount, 0);
    for (int column = 1; column <= 3; ++column) {
        for (int row = 1; row <= 3; ++row) {
            const CardCell& c = state.cardCells[column - 1][row - 1];
            EXPECT_EQ(c.uncovered, 0);
            EXPECT_EQ(c.x, cellX(column));
            EXPECT_EQ(c.y, cellY(row));
        }
    }
    for (const CellHit& press : wholeCard()) pressCell(state, press, 1);
    EXPECT_EQ(pressCell(state, cell(1, 1), 1), R::ignored);
    EXPECT_TRUE(starsOnOffer(state));
    setCardAside(state);  // Set up: the won card is a picture until Play
    EXPECT_FALSE(starsOnOffer(state));
}

TEST(CardRules, ArrowsMoveTheMarkAndStopAtTheEdges) {
    using K = CardKey;
    struct Move {
        CellHit from;
        CardKey key;
        CellHit to;
    };
    const Move moves[] = {
        {{1, 1}, K::right, {2, 1}}, {{2, 1}, K::right, {3, 1}}, {{3, 1}, K::right, {3, 1}},
        {{3, 1}, K::down, {3, 2}},  {{3, 3}, K::down, {3, 3}},  {{2, 3}, K::left, {1, 3}},
        {{1, 3}, K::left, {1, 3}},  {{1, 2}, K::up, {1, 1}},    {{2, 1}, K::up, {2, 1}},
    };
    for (const Move& m : moves) {
        const CellHit to = markAfterKey(m.from, m.key);
        EXPECT_EQ(std::make_pair(to.column, to.row), std::make_pair(m.to.column, m.to.row))
            << m.from.column << "," << m.from.row << " key " << static_cast<int>(m.key);
    }
    SeriesState state;
    state.mark = {3, 2};
    newCard(state, 1);
    EXPECT_EQ(std::make_pair(state.mark.column, state.mark.row), std::make_pair(1, 1));
}
