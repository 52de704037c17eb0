// The set-up that tests and benchmarks start from: figures 5 to 5000, the
// winning figure 500, and the rest as given. Standard C++ only.
#pragma once

#include "config/config_record.h"

inline const char* const standardFigures[prizeFigureCount] = {"5",   "10",  "20",   "50",   "100",
                                                              "200", "500", "1000", "2000", "5000"};

inline GameConfig standardConfig(const char* password = "clave", const char* games = "3", const char* comment = "") {
    GameConfig config;
    for (int k = 0; k < prizeFigureCount; ++k) config.prizeFigures[k].assign(standardFigures[k]);
    config.winningFigure.assign("500");
    config.password.assign(password);
    config.gamesUntilTruePrize.assign(games);
    config.surpriseComment.assign(comment);
    return config;
}
