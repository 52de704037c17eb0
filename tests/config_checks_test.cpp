#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "config/config_checks.h"
#include "standard_config.h"

namespace {

const std::vector<std::string> tenFigures(std::begin(standardFigures), std::end(standardFigures));

struct Entries {
    std::vector<std::string> figures = tenFigures;
    std::string winning = "500";
    std::string games = "3";
    std::string password = "clave";
    std::string comment;
};

GameConfig configOf(const Entries& entries) {
    GameConfig config;
    for (int k = 0; k < prizeFigureCount; ++k) config.prizeFigures[k].assign(entries.figures[static_cast<size_t>(k)]);
    config.winningFigure.assign(entries.winning);
    config.gamesUntilTruePrize.assign(entries.games);
    config.password.assign(entries.password);
    config.surpriseComment.assign(entries.comment);
    return config;
}

template <typename Change>
Entries with(Change change) {
    Entries entries;
    change(entries);
    return entries;
}

}  // namespace

TEST(ConfigChecks, TheSixChecksAndNothingElse) {
    struct Case {
        const char* name;
        Entries entries;
        bool passes;
    };
    const Case cases[] = {
        {"the standard set-up", Entries{}, true},
        {"no winning figure", with([](Entries& e) { e.winning = ""; }), false},
        {"games 11", with([](Entries& e) { e.games = "11"; }), false},
        {"games 0", with([](Entries& e) { e.games = "0"; }), false},
        {"games empty", with([](Entries& e) { e.games = ""; }), false},
        {"no password", with([](Entries& e) { e.password = ""; }), false},
        {"a figure missing, the winning one among the rest",
         with([](Entries& e) { e.figures[0] = "", e.winning = "10"; }), false},
        {"the winning figure among none", with([](Entries& e) { e.winning = "777"; }), false},
        {"games 10", with([](Entries& e) { e.games = "10"; }), true},
        {"games 01", with([](Entries& e) { e.games = "01"; }), true},
        {"winning 0050 against a figure 50", with([](Entries& e) { e.winning = "0050"; }), true},
        {"all figures equal", with([](Entries& e) { e.figures.assign(10, "10"), e.winning = "10"; }), true},
        {"a figure 0", with([](Entries& e) { e.figures[0] = "0"; }), true},
        {"a long comment", with([](Entries& e) { e.comment = std::string(90, 'x'); }), true},
        {"a winning figure 0 against a figure 0", with([](Entries& e) { e.figures[3] = "0", e.winning = "0"; }),
         true},
    };
    for (const Case& c : cases) EXPECT_EQ(entriesPass(configOf(c.entries)), c.passes) << c.name;
}
