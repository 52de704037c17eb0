#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <utility>

#include "game/card_deal.h"
#include "standard_config.h"

namespace {

GameConfig makeConfig(std::vector<std::string> figures, const std::string& winning, const std::string& games) {
    GameConfig config;
    for (int k = 0; k < prizeFigureCount; ++k) config.prizeFigures[k].assign(figures[static_cast<std::size_t>(k)]);
    config.winningFigure.assign(winning);
    config.gamesUntilTruePrize.assign(games);
    config.password.assign("pw");
    return config;
}

const std::vector<std::string> tenFigures(std::begin(standardFigures), std::end(standardFigures));

// How often each value appears on a card.
std::map<int, int> valueCounts(const SeriesDeal& deal, int game) {
    std::map<int, int> counts;
    for (int c = 1; c <= 3; ++c)
        for (int r = 1; r <= 3; ++r) ++counts[seriesFigure(deal, game, c, r)];
    return counts;
}

}  // namespace

TEST(CardDeal, EverySeedKeepsTheRules) {
    // "0500" is entry 7 by value: it is held back as the winning entry.
    const std::pair<const char*, const char*> cases[] = {{"1", "500"}, {"3", "0500"}, {"10", "500"}};
    for (auto [games, winning] : cases) {
        const GameConfig config = makeConfig(tenFigures, winning, games);
        const int n = gamesInSeries(config);
        // Every one of the ten entries turns up, on the losing cards and
        // on the winning one (where 500 is also the winning figure).
        std::set<int> onLosing, onWinning;
        for (std::uint32_t seed = 0; seed < 400; ++seed) {
            SeriesDeal deal;
            dealSeries(config, seed * 2654435761u, deal);
            int flagged = 0;
            for (int c = 0; c < 3; ++c) {
                for (int r = 0; r < 3; ++r) {
                    if (deal.winningCells[c][r]) {
                        ++flagged;
                        EXPECT_EQ(deal.seriesFigures[n - 1][c][r], 500);
                    }
                }
            }
            ASSERT_EQ(flagged, 3);
            for (auto [value, count] : valueCounts(deal, n)) EXPECT_LE(count, value == 500 ? 3 : 2);
            for (auto [value, count] : valueCounts(deal, n)) onWinning.insert(value);
            for (int game = 1; game < n; ++game) {
                for (auto [value, count] : valueCounts(deal, game)) {
                    EXPECT_LE(count, 2) << "game " << game;
                    onLosing.insert(value);
                }
            }
            for (int game = n + 1; game <= maxGames; ++game) EXPECT_EQ(valueCounts(deal, game), (std::map<int, int>{{0, 9}}));
        }
        std::set<int> all;
        for (const std::string& figure : tenFigures) all.insert(std::stoi(figure));
        EXPECT_EQ(onWinning, all) << games;
        if (n > 1) {
            EXPECT_EQ(onLosing, all) << games;
        }
    }
}

TEST(CardDeal, SameSeedSameSeries) {
    const GameConfig config = makeConfig(tenFigures, "500", "10");
    SeriesDeal a, b, c;
    dealSeries(config, 45296123, a);
    dealSeries(config, 45296123, b);
    dealSeries(config, 45296124, c);
    EXPECT_EQ(0, std::memcmp(&a, &b, sizeof a));
    EXPECT_NE(0, std::memcmp(&a, &c, sizeof a));
}

TEST(CardDeal, WinningFigureEnteredTwice) {
    std::vector<std::string> figures = tenFigures;
    figures[1] = "0500";  // entry 2 equals entry 7 numerically
    const GameConfig config = makeConfig(figures, "500", "2");
    int mostOnWinning = 0, mostOnLosing = 0;
    for (std::uint32_t seed = 0; seed < 2000; ++seed) {
        SeriesDeal deal;
        dealSeries(config, seed, deal);
        mostOnWinning = std::max(mostOnWinning, valueCounts(deal, 2)[500]);
        mostOnLosing = std::max(mostOnLosing, valueCounts(deal, 1)[500]);
    }
    // Entry 7 is the winning entry and is held back; entry 2 may add two more.
    EXPECT_EQ(mostOnWinning, 5);
    EXPECT_EQ(mostOnLosing, 4);
}

TEST(CardDeal, DegenerateFigures) {
    SeriesDeal deal;
    dealSeries(makeConfig(std::vector<std::string>(10, "7"), "7", "3"), 99, deal);
    for (int game = 1; game <= 3; ++game) EXPECT_EQ(valueCounts(deal, game), (std::map<int, int>{{7, 9}}));

    std::vector<std::string> withZero = tenFigures;
    withZero[0] = "0";
    dealSeries(makeConfig(withZero, "0", "1"), 5, deal);
    EXPECT_EQ(valueCounts(deal, 1)[0], 3);

    // A winning figure that is none of the ten still fills three cells.
    for (std::uint32_t seed = 0; seed < 200; ++seed) {
        dealSeries(makeConfig(tenFigures, "777", "1"), seed, deal);
        auto counts = valueCounts(deal, 1);
        EXPECT_EQ(counts[777], 3);
        for (auto [value, count] : counts) EXPECT_LE(count, value == 777 ? 3 : 2);
    }
}

TEST(CardDeal, SeriesLengthIsHeldWithinTheTable) {
    EXPECT_EQ(gamesInSeries(makeConfig(tenFigures, "5", "")), 1);
    EXPECT_EQ(gamesInSeries(makeConfig(tenFigures, "5", "0")), 1);
    EXPECT_EQ(gamesInSeries(makeConfig(tenFigures, "5", "01")), 1);
    EXPECT_EQ(gamesInSeries(makeConfig(tenFigures, "5", "10")), 10);
    EXPECT_EQ(gamesInSeries(makeConfig(tenFigures, "5", "11")), 10);
    EXPECT_EQ(gamesInSeries(makeConfig(tenFigures, "5", "9999")), 10);
    EXPECT_EQ(gamesInSeries(makeConfig(tenFigures, "5", "-3")), 1);
    SeriesDeal deal;
    dealSeries(makeConfig(tenFigures, "5", "9999"), 1, deal);
    EXPECT_EQ(valueCounts(deal, 10)[5], 3);
    EXPECT_EQ(seriesFigure(deal, 11, 1, 1), 0);
    EXPECT_EQ(seriesFigure(deal, 0, 1, 1), 0);
    EXPECT_EQ(seriesFigure(deal, 1, 4, 1), 0);
}

TEST(CardDeal, TimeOfDaySeedIsWithinADay) { EXPECT_LT(timeOfDaySeed(), 86400000u); }
