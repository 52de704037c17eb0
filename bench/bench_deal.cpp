// The deal alone, natively: deals per second, against recreating the tables
// alone (the least any deal does) in the same run.
#include <chrono>
#include <cstdio>

#include "game/card_deal.h"
#include "tests/standard_config.h"

int main() {
    const GameConfig config = standardConfig("", "10");
    const int count = 200000;
    SeriesDeal deal;
    volatile std::int32_t sink = 0;

    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < count; ++i) {
        dealSeries(config, static_cast<std::uint32_t>(i), deal);
        sink = sink + deal.seriesFigures[9][1][1];
    }
    double dealSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    start = std::chrono::steady_clock::now();
    for (int i = 0; i < count; ++i) {
        deal = SeriesDeal{};
        deal.seriesFigures[i % 10][1][1] = i;
        sink = sink + deal.seriesFigures[9][1][1];
    }
    double resetSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    std::printf("%-32s %12.0f %12.0f  %-18s %8.2f\n", "deals of 10 games per second", count / dealSeconds,
                count / resetSeconds, "table reset only", resetSeconds / dealSeconds);
    return 0;
}
