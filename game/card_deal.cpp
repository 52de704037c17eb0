#include "card_deal.h"

#include <algorithm>
#include <chrono>
#include <ctime>

namespace {

// A small generator with the same sequence on every compiler, so that a
// seed reproduces a deal everywhere.
class DealRandom {
public:
    explicit DealRandom(std::uint32_t seed) : state_(seed) {}

    // A uniform whole number from low to high inclusive.
    int between(int low, int high) {
        std::uint64_t span = static_cast<std::uint64_t>(high - low) + 1;
        std::uint64_t limit = UINT64_MAX - UINT64_MAX % span;
        std::uint64_t value;
        do {
            value = next();
        } while (value >= limit);
        return low + static_cast<int>(value % span);
    }

private:
    std::uint64_t next() {  // splitmix64
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    std::uint64_t state_;
};

// Four characters hold no figure beyond these.
constexpr double largestFigure = 9999;

std::int32_t figureValue(const char* text) {
    double value = numberValue(text);
    value = std::max(-largestFigure, std::min(value, largestFigure));
    return static_cast<std::int32_t>(value);
}

int columnOf(int cell) { return (cell - 1) % 3; }
int rowOf(int cell) { return (cell - 1) / 3; }

// Fills the free cells from the ten entries, none drawn more than twice.
void fillFreeCells(const GameConfig& config, DealRandom& random, std::int16_t (&timesDrawn)[prizeFigureCount],
                   bool (&taken)[9], std::int32_t (&cardValues)[9]) {
    for (int p = 0; p < 9; ++p) {
        if (taken[p]) continue;
        int k;
        do {
            k = random.between(1, prizeFigureCount) - 1;
        } while (timesDrawn[k] >= 2);
        ++timesDrawn[k];
        cardValues[p] = figureValue(config.prizeFigures[k].c_str());
        taken[p] = true;
    }
}

void copyCard(const std::int32_t (&cardValues)[9], std::int32_t (&card)[3][3]) {
    for (int p = 1; p <= 9; ++p) card[columnOf(p)][rowOf(p)] = cardValues[p - 1];
}

}  // namespace

int gamesInSeries(const GameConfig& config) {
    double value = numberValue(config.gamesUntilTruePrize.c_str());
    if (value < 1) return 1;
    if (value > maxGames) return maxGames;
    return static_cast<int>(value);
}

std::uint32_t timeOfDaySeed() {
    using namespace std::chrono;
    auto now = system_clock::now();
    std::time_t seconds = system_clock::to_time_t(now);
    std::tm local = {};
    // The thread-safe forms: MSVC deprecates std::localtime, and the two
    // platforms name the safe one differently.
#ifdef _WIN32
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    auto milliseconds = duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    return static_cast<std::uint32_t>((local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec) * 1000 +
                                      milliseconds);
}

void dealSeries(const GameConfig& config, std::uint32_t seed, SeriesDeal& deal) {
    deal = SeriesDeal{};
    DealRandom random(seed);
    const std::int32_t winningValue = figureValue(config.winningFigure.c_str());
    const double winningNumber = numberValue(config.winningFigure.c_str());

    // The last matching figure is the winning entry.
    int winningIndex = -1;
    for (int k = 0; k < prizeFigureCount; ++k) {
        if (numberValue(config.prizeFigures[k].c_str()) == winningNumber) winningIndex = k;
    }

    const int games = gamesInSeries(config);
    {
        std::int16_t timesDrawn[prizeFigureCount] = {};
        std::int32_t cardValues[9] = {};
        bool taken[9] = {};
        for (int placed = 0; placed < 3; ++placed) {
            int p;
            do {
                p = random.between(1, 9);
            } while (taken[p - 1]);
            taken[p - 1] = true;
            cardValues[p - 1] = winningValue;
            deal.winningCells[columnOf(p)][rowOf(p)] = 1;
        }
        // The winning entry itself is never drawn for the other six cells.
        if (winningIndex >= 0) timesDrawn[winningIndex] = 3;
        fillFreeCells(config, random, timesDrawn, taken, cardValues);
        copyCard(cardValues, deal.seriesFigures[games - 1]);
    }
    for (int game = 1; game < games; ++game) {
        std::int16_t timesDrawn[prizeFigureCount] = {};
        std::int32_t cardValues[9] = {};
        bool taken[9] = {};
        fillFreeCells(config, random, timesDrawn, taken, cardValues);
        copyCard(cardValues, deal.seriesFigures[game - 1]);
    }
}

std::int32_t seriesFigure(const SeriesDeal& deal, int game, int column, int row) {
    if (game < 1 || game > maxGames || column < 1 || column > 3 || row < 1 || row > 3) return 0;
    return deal.seriesFigures[game - 1][column - 1][row - 1];
}
