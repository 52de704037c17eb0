// The card model and the deal of a series. Standard C++ only.
#pragma once

#include <cstdint>

#include "../config/config_record.h"

struct CardCell {
    std::int16_t x;
    std::int16_t y;
    std::int32_t uncovered;
};

// The figures under every cell of every card of a series, and the three
// cells of the winning card that hold the winning figure. Indices are
// game - 1, column - 1, row - 1.
struct SeriesDeal {
    std::int32_t seriesFigures[maxGames][3][3];
    std::int32_t winningCells[3][3];
};

// The number of cards in a series: the configured number of games, held to
// 1 to 10 so that a series always ends on a winning card within the table.
int gamesInSeries(const GameConfig& config);

// Milliseconds since local midnight: every real deal is seeded from it.
std::uint32_t timeOfDaySeed();

// Deals the winning card as the last game and the losing cards before it;
// the same configuration and seed always give the same series.
void dealSeries(const GameConfig& config, std::uint32_t seed, SeriesDeal& deal);

// The figure under a cell, or 0 for a game outside the table.
std::int32_t seriesFigure(const SeriesDeal& deal, int game, int column, int row);
