#include "card_rules.h"

#include <algorithm>

namespace {

constexpr int cellsPerCard = cardColumns * cardRows;

}  // namespace

void playCard(SeriesState& state) { state.gameActive = 1; }

void setCardAside(SeriesState& state) {
    state.gameActive = 0;
    state.outcome = CardOutcome::pending;
}

void newCard(SeriesState& state, int gamesInSeries) {
    if (state.gameNumber > gamesInSeries) state.gameNumber = 1;
    state.shownGame = state.gameNumber;
    state.outcome = CardOutcome::pending;
    state.uncoveredCount = 0;
    state.mark = CellHit{1, 1};
    for (int column = 1; column <= cardColumns; ++column) {
        for (int row = 1; row <= cardRows; ++row) {
            state.cardCells[column - 1][row - 1] = CardCell{static_cast<std::int16_t>(cellX(column)),
                                                            static_cast<std::int16_t>(cellY(row)), 0};
        }
    }
}

CellHit markAfterKey(CellHit mark, CardKey key) {
    switch (key) {
    case CardKey::left: return CellHit{std::max(mark.column - 1, 1), mark.row};
    case CardKey::right: return CellHit{std::min(mark.column + 1, cardColumns), mark.row};
    case CardKey::up: return CellHit{mark.column, std::max(mark.row - 1, 1)};
    case CardKey::down: return CellHit{mark.column, std::min(mark.row + 1, cardRows)};
    }
    return mark;
}

PressResult pressCell(SeriesState& state, CellHit cell, int gamesInSeries) {
    if (!starsPressable(state)) return PressResult::ignored;
    if (!cell.onCard()) return PressResult::offCard;
    CardCell& pressed = state.cardCells[cell.column - 1][cell.row - 1];
    if (pressed.uncovered == 0) {
        pressed.uncovered = 1;
        ++state.uncoveredCount;
    }
    if (state.uncoveredCount < cellsPerCard) return PressResult::cellShown;
    state.uncoveredCount = 0;
    if (state.gameNumber == gamesInSeries) {
        state.gameNumber = 1;
        state.gameActive = 0;
        state.outcome = CardOutcome::won;
        return PressResult::winningCardDone;
    }
    state.outcome = CardOutcome::lost;
    ++state.gameNumber;
    return PressResult::losingCardDone;
}
