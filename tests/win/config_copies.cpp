// Two copies of this program in one folder share one configuration file, as
// two copies of the game would: "save N" replaces it N times with records
// whose fields all carry the same serial; "load N" loads it N times and
// checks that every record it sees is whole (all fields from one save).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "config/game_config.h"

namespace {

std::string serialText(char copy, int serial) {
    char text[16];
    std::snprintf(text, sizeof text, "%c%05d", copy, serial);
    return text;
}

void setRecord(char copy, int serial) {
    const std::string mark = serialText(copy, serial);
    for (auto& figure : gameConfig.prizeFigures) figure.assign(std::to_string(serial % 10000));
    gameConfig.winningFigure.assign(std::to_string(serial % 10000));
    gameConfig.password.assign(mark);
    gameConfig.surpriseComment.assign(mark + " " + mark + " " + mark);
    gameConfig.gamesUntilTruePrize.assign(std::to_string(serial % 10 + 1));
}

bool wholeRecord() {
    const std::string mark = gameConfig.password.str();
    if (mark.size() != 6) return false;
    const int serial = std::atoi(mark.c_str() + 1);
    GameConfig expected = gameConfig;
    std::swap(expected, gameConfig);
    setRecord(mark[0], serial);
    std::swap(expected, gameConfig);
    return encodeRecord(expected) == encodeRecord(gameConfig);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 64;
    const std::string mode = argv[1];
    const int count = std::atoi(argv[2]);
    const char copy = argc > 3 ? argv[3][0] : 'A';
    int stored = 0, refused = 0, whole = 0, broken = 0, unchanged = 0;
    for (int i = 1; i <= count; ++i) {
        if (mode == "save") {
            setRecord(copy, i);
            (replaceConfigFile() == ERROR_SUCCESS ? stored : refused)++;
        } else {
            gameConfig = GameConfig{};
            loadConfig();
            if (gameConfig.password.empty()) {
                ++unchanged;  // the other copy held the file at that moment
            } else {
                (wholeRecord() ? whole : broken)++;
            }
        }
    }
    std::printf("stored %d refused %d whole %d broken %d unchanged %d\n", stored, refused, whole, broken, unchanged);
    return broken == 0 ? 0 : 1;
}
