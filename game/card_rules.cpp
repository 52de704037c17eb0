#include "card_rules.h"

namespace {

constexpr int cellsPerCard = cardColumns * cardRows;

}  // namespace

void playCard(SeriesState& state) { state.gameActive = 1; }

void newCard(SeriesState& state, int gamesInSeries) {
    if (state.gameNumber > gamesInSeries) state.gameNumber = 1;
    state.uncoveredCount = 0;
    for (int column = 1; column <= cardColumns; ++column) {
        for (int row = 1; row <= cardRows; ++row) {
            state.cardCells[column - 1][row - 1] = CardCell{static_cast<std::int16_t>(cellX(column)),
                                                            static_cast<std::int16_t>(cellY(row)), 0};
        }
    }
}

PressResult pressCell(SeriesState& state, CellHit cell, int gamesInSeries) {
    if (state.gameActive != 1) return PressResult::ignored;
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
        return PressResult::winningCardDone;
    }
    ++state.gameNumber;
    return PressResult::losingCardDone;
}
