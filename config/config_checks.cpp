#include "config_checks.h"

bool entriesPass(const GameConfig& config) {
    bool figureMissing = false;
    bool winningAmongFigures = false;
    const double winning = numberValue(config.winningFigure.c_str());
    for (const auto& figure : config.prizeFigures) {
        if (figure.empty()) figureMissing = true;
        if (numberValue(figure.c_str()) == winning) winningAmongFigures = true;
    }
    const double games = numberValue(config.gamesUntilTruePrize.c_str());
    return !config.winningFigure.empty() && games <= maxGames && games > 0 && !config.password.empty() &&
           !figureMissing && winningAmongFigures;
}
