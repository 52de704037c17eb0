#include "card_rules.h"

#include <algorithm>

namespace {

constexpr int cellsPerCard = cardColumns * cardRows;

}  // namespace

void playCard(SeriesState& state) { state.card.gameActive = 1; }

void setCardAside(SeriesState& state) {
    state.card.gameActive = 0;
    state.card.setAside = true;
}

void newCard(SeriesState& state, const SeriesDeal& deal, int gamesInSeries) {
    if (state.gameNumber > gamesInSeries) state.gameNumber = 1;
    CardShown& card = state.card;
    const int game = state.gameNumber;
    card.game = state.gameNumber;
    card.seriesLength = static_cast<std::int16_t>(gamesInSeries);
    card.uncoveredCount = 0;
    card.outcome = CardOutcome::pending;
    card.setAside = false;
    card.comment.clear();
    card.mark = CellHit{1, 1};
    for (int column = 1; column <= cardColumns; ++column) {
        for (int row = 1; row <= cardRows; ++row) {
            card.cardCells[column - 1][row - 1] = CardCell{static_cast<std::int16_t>(cellX(column)),
                                                           static_cast<std::int16_t>(cellY(row)), 0};
            card.figures[column - 1][row - 1] = seriesFigure(deal, game, column, row);
            card.winningCells[column - 1][row - 1] = game == gamesInSeries ? deal.winningCells[column - 1][row - 1] : 0;
        }
    }
}

bool moveMark(SeriesState& state, CellHit to) {
    CellHit& mark = state.card.mark;
    if (!starsPressable(state.card) || !to.onCard() || (to.column == mark.column && to.row == mark.row)) return false;
    mark = to;
    return true;
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

PressResult pressCell(SeriesState& state, CellHit cell, const CommentText& comment) {
    CardShown& card = state.card;
    if (!starsPressable(card)) return PressResult::ignored;
    if (!cell.onCard()) return PressResult::offCard;
    CardCell& pressed = card.cardCells[cell.column - 1][cell.row - 1];
    if (pressed.uncovered == 0) {
        pressed.uncovered = 1;
        ++card.uncoveredCount;
    }
    if (card.uncoveredCount < cellsPerCard) return PressResult::cellShown;
    card.uncoveredCount = 0;
    if (card.game == card.seriesLength) {
        state.gameNumber = 1;
        card.gameActive = 0;
        card.outcome = CardOutcome::won;
        card.comment = comment;
        return PressResult::winningCardDone;
    }
    card.outcome = CardOutcome::lost;
    ++state.gameNumber;
    return PressResult::losingCardDone;
}
