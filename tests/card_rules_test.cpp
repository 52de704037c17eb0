#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <utility>
#include <vector>

#include "game/card_rules.h"
#include "standard_config.h"

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

std::vector<CellHit> operator+(std::vector<CellHit> first, const std::vector<CellHit>& then) {
    first.insert(first.end(), then.begin(), then.end());
    return first;
}

CommentText comment(const char* text) {
    CommentText kept;
    kept.assign(text);
    return kept;
}

// What the card on screen should be after a scenario's presses.
struct Shown {
    std::int16_t game;  // the game it was dealt for
    CardOutcome outcome;
    bool pressable, paused, fresh, onOffer;
    CellHit focused;  // {0, 0}: the card itself
};

struct Scenario {
    const char* name;
    int games;                // in the series
    std::int16_t gameNumber;  // when Play is chosen
    bool play;                // false: presses before any Play
    std::vector<CellHit> presses;
    bool setAside;  // Set up after the presses
    R lastResult;
    std::int16_t gameAfter;  // the next card's game
    std::int16_t uncoveredAfter;
    std::int32_t activeAfter;
    Shown shown;
};

}  // namespace

TEST(CardRules, PressesAsTheSeriesGoes) {
    std::vector<CellHit> eight = wholeCard();
    eight.pop_back();
    const Scenario scenarios[] = {
        {"before Play", 3, 1, false, {cell(1, 1)}, false, R::ignored, 1, 0, 0, {1, O::pending, false, false, false,
                                                                                 false, {0, 0}}},
        {"outside the bands", 3, 1, true, {cellAt(660, 100), cellAt(100, 435)}, false, R::offCard, 1, 0, 1,
         {1, O::pending, true, false, true, true, {1, 1}}},
        {"a cell pressed again counts once", 3, 1, true, eight + std::vector<CellHit>{cell(1, 1)}, false,
         R::cellShown, 1, 8, 1, {1, O::pending, true, false, false, true, {1, 1}}},
        {"the ninth cell of a losing card begins the pause", 3, 1, true, wholeCard(), false, R::losingCardDone, 2, 0,
         1, {1, O::lost, false, true, false, true, {0, 0}}},
        {"presses in the pause are dropped", 3, 1, true, wholeCard() + std::vector<CellHit>{cell(2, 2),
                                                                                           cellAt(660, 100)},
         false, R::ignored, 2, 0, 1, {1, O::lost, false, true, false, true, {0, 0}}},
        {"the ninth cell of the winning card", 3, 3, true, wholeCard(), false, R::winningCardDone, 1, 0, 0,
         {3, O::won, false, false, false, true, {0, 0}}},
        {"one game: every card wins", 1, 1, true, wholeCard(), false, R::winningCardDone, 1, 0, 0,
         {1, O::won, false, false, false, true, {0, 0}}},
        {"a game past a shortened series starts at 1", 2, 5, true, wholeCard(), false, R::losingCardDone, 2, 0, 1,
         {1, O::lost, false, true, false, true, {0, 0}}},
        {"Set up sets a card in play aside", 3, 2, true, {cell(2, 2)}, true, R::cellShown, 2, 1, 0,
         {2, O::pending, false, false, false, false, {0, 0}}},
        {"a won card set aside stays won, offering nothing", 1, 1, true, wholeCard(), true, R::winningCardDone, 1,
         0, 0, {1, O::won, false, false, false, false, {0, 0}}},
    };
    const SeriesDeal deal = [] {
        SeriesDeal dealt;
        dealSeries(standardConfig(), 7, dealt);
        return dealt;
    }();
    for (const Scenario& s : scenarios) {
        SeriesState state;
        state.gameNumber = s.gameNumber;
        if (s.play) playCard(state);
        newCard(state, deal, s.games);
        R result = R::ignored;
        for (const CellHit& press : s.presses) result = pressCell(state, press, comment("Bravo"));
        if (s.setAside) setCardAside(state);
        const CardShown& card = state.card;
        EXPECT_EQ(result, s.lastResult) << s.name;
        EXPECT_EQ(state.gameNumber, s.gameAfter) << s.name;
        EXPECT_EQ(card.uncoveredCount, s.uncoveredAfter) << s.name;
        EXPECT_EQ(card.gameActive, s.activeAfter) << s.name;
        EXPECT_EQ(card.game, s.shown.game) << s.name;
        EXPECT_EQ(card.seriesLength, s.games) << s.name;
        EXPECT_EQ(card.outcome, s.shown.outcome) << s.name;
        EXPECT_EQ(starsPressable(card), s.shown.pressable) << s.name;
        EXPECT_EQ(cardPaused(card), s.shown.paused) << s.name;
        EXPECT_EQ(freshCard(card), s.shown.fresh) << s.name;
        EXPECT_EQ(starsOnOffer(card), s.shown.onOffer) << s.name;
        EXPECT_EQ(std::make_pair(focusedStar(card).column, focusedStar(card).row),
                  std::make_pair(s.shown.focused.column, s.shown.focused.row))
            << s.name;
        // The card keeps the comment it was won with, and shows the three
        // winning figures red, only once won.
        EXPECT_STREQ(card.comment.c_str(), s.shown.outcome == O::won ? "Bravo" : "") << s.name;
        int red = 0;
        for (const CellHit& star : wholeCard()) red += winningStar(card, star);
        EXPECT_EQ(red, s.shown.outcome == O::won ? 3 : 0) << s.name;
    }
}

// A new card holds what it shows: the figures dealt for its game, its
// stars covered at their places, and the winning figure's three stars only
// where it is the series' last game.
TEST(CardRules, ANewCardHoldsTheFiguresOfItsGame) {
    for (std::uint32_t seed = 1; seed <= 200; ++seed) {
        const int games = static_cast<int>(seed % 10) + 1;
        SeriesDeal deal;
        dealSeries(standardConfig("pw", std::to_string(games).c_str()), seed, deal);
        SeriesState state;
        state.gameNumber = static_cast<std::int16_t>(seed % 12 + 1);
        playCard(state);
        newCard(state, deal, games);
        const CardShown& card = state.card;
        const int game = card.game;
        ASSERT_TRUE(game >= 1 && game <= games) << seed;
        ASSERT_EQ(state.gameNumber, game) << seed;
        for (int column = 1; column <= 3; ++column) {
            for (int row = 1; row <= 3; ++row) {
                EXPECT_EQ(card.figures[column - 1][row - 1], deal.seriesFigures[game - 1][column - 1][row - 1]);
                EXPECT_EQ(card.winningCells[column - 1][row - 1],
                          game == games ? deal.winningCells[column - 1][row - 1] : 0);
                const CardCell& c = card.cardCells[column - 1][row - 1];
                EXPECT_EQ(c.x, cellX(column));
                EXPECT_EQ(c.y, cellY(row));
                EXPECT_EQ(c.uncovered, 0);
            }
        }
    }
}

// Play in the middle of a card gives a fresh card of the same game, and
// the deal a new card was made from can change without changing it.
TEST(CardRules, PlayMidCardGivesAFreshCardOfTheSameGame) {
    SeriesDeal deal;
    dealSeries(standardConfig("pw", "1"), 3, deal);
    SeriesState state;
    playCard(state);
    newCard(state, deal, 1);
    pressCell(state, cell(2, 3), comment(""));
    EXPECT_EQ(state.card.cardCells[1][2].uncovered, 1);
    const CardShown before = state.card;
    playCard(state);
    newCard(state, deal, 1);
    EXPECT_EQ(state.card.uncoveredCount, 0);
    EXPECT_EQ(state.card.cardCells[1][2].uncovered, 0);
    EXPECT_EQ(state.card.game, before.game);
    dealSeries(standardConfig("pw", "1"), 4, deal);
    EXPECT_EQ(std::memcmp(state.card.figures, before.figures, sizeof before.figures), 0);
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
    state.card.mark = {3, 2};
    SeriesDeal deal{};
    newCard(state, deal, 1);
    EXPECT_EQ(std::make_pair(state.card.mark.column, state.card.mark.row), std::make_pair(1, 1));
}
