// libFuzzer target: arbitrary bytes as a configuration file. Whatever they
// hold, loading stays inside its buffers, decides alike from the file's tail
// (all the program reads), gives texts within their capacities that survive
// a save and a load unchanged, and the deal on the result stays inside its
// tables.
#include <cstdint>
#include <cstdlib>

#include "config/config_record.h"
#include "game/card_deal.h"

namespace {

bool sameConfig(const GameConfig& a, const GameConfig& b) {
    for (int k = 0; k < prizeFigureCount; ++k) {
        if (a.prizeFigures[k] != b.prizeFigures[k]) return false;
    }
    return a.winningFigure == b.winningFigure && a.password == b.password &&
           a.surpriseComment == b.surpriseComment && a.gamesUntilTruePrize == b.gamesUntilTruePrize;
}

void require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    GameConfig config;
    config.password.assign("unchanged");
    if (!decodeConfigFile(data, size, config)) {
        require(size < recordSize && config.password.str() == "unchanged");
        return 0;
    }
    require(config.password.size() <= 12 && config.surpriseComment.size() <= 81);
    // The program reads only the tail of the file: it must decide alike.
    const std::size_t tail = static_cast<std::size_t>(configFileTail(size));
    GameConfig fromTail;
    require(size - tail < 2 * recordSize && decodeConfigFile(data + tail, size - tail, fromTail));
    require(sameConfig(config, fromTail));
    GameConfig again;
    ConfigRecord record = encodeRecord(config);
    require(decodeConfigFile(record.data(), record.size(), again));
    require(sameConfig(config, again));

    const int games = gamesInSeries(config);
    require(games >= 1 && games <= maxGames);
    SeriesDeal deal;
    dealSeries(config, static_cast<std::uint32_t>(size), deal);
    int flagged = 0;
    for (auto& column : deal.winningCells)
        for (std::int32_t cell : column) flagged += cell;
    require(flagged == 3);
    return 0;
}
