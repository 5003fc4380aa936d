// Plays whole games at one level of the computer player, with the game's own
// spawn rule, and reports how far each got and how long the moves took: the
// measure the levels are calibrated with.
//
//   computer_bench --level LEVEL --games N --seed S [--from K] [--stop-at TILE] [--csv]
//
// --from K skips the first K games of the seed's sequence, so one run can be
// split across processes; --stop-at TILE ends each game once it holds that
// tile, which is all a figure of games reaching it needs.

#include "game/computer/engine.hpp"
#include "game/computer/rows.hpp"
#include "spawn.hpp"

#include <algorithm>
#include <bit>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace tandrel;
using namespace tandrel::computer;
using tandrel::bench::spawn;

struct Options {
    Level level = Level::Normal;
    std::uint64_t games = 0;
    std::uint64_t seed = 0;
    std::uint64_t from = 0;
    std::uint64_t stopAt = 0;
    bool csv = false;
};

struct Game {
    std::uint64_t seed;
    std::uint64_t score = 0;
    std::uint32_t largest = 0;
    std::uint64_t moves = 0;
    double medianMs = 0;
    double maxMs = 0;
    Packed last = 0;
};

bool parseNumber(std::string_view text, std::uint64_t& out) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

// An error message, or empty when the arguments are sound.
std::string parse(int argc, char** argv, Options& options) {
    bool haveLevel = false, haveGames = false, haveSeed = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--csv") {
            options.csv = true;
            continue;
        }
        if (arg != "--level" && arg != "--games" && arg != "--seed" && arg != "--from" && arg != "--stop-at")
            return "unknown option '" + std::string(arg) + "'";
        if (i + 1 == argc) return "option '" + std::string(arg) + "' needs a value";
        const std::string_view value = argv[++i];
        if (arg == "--level") {
            const auto level = parseLevel(value);
            if (!level) return "unknown level '" + std::string(value) + "' (easy, normal, hard or expert)";
            options.level = *level;
            haveLevel = true;
        } else if (arg == "--games") {
            if (!parseNumber(value, options.games) || options.games == 0)
                return "--games takes a positive number, not '" + std::string(value) + "'";
            haveGames = true;
        } else if (arg == "--from") {
            if (!parseNumber(value, options.from)) return "--from takes a number, not '" + std::string(value) + "'";
        } else if (arg == "--stop-at") {
            if (!parseNumber(value, options.stopAt) || !std::has_single_bit(options.stopAt) || options.stopAt < 4)
                return "--stop-at takes a tile value (4, 8, 16, ...), not '" + std::string(value) + "'";
        } else {
            if (!parseNumber(value, options.seed)) return "--seed takes a number, not '" + std::string(value) + "'";
            haveSeed = true;
        }
    }
    if (!haveLevel || !haveGames || !haveSeed)
        return "usage: computer_bench --level LEVEL --games N --seed S [--from K] [--stop-at TILE] [--csv]";
    return {};
}

double percentile(std::vector<double>& values, double share) {
    if (values.empty()) return 0;
    const auto at = values.begin() + static_cast<std::ptrdiff_t>(share * static_cast<double>(values.size() - 1));
    std::nth_element(values.begin(), at, values.end());
    return *at;
}

Game play(Level level, std::uint64_t seed, std::uint64_t stopAt, std::vector<double>& allMs) {
    Game game{seed};
    std::mt19937_64 random(seed);
    Engine engine(level, seed);
    const RowTables& rows = rowTables();
    Packed grid = spawn(spawn(0, random), random);
    std::vector<double> ms;
    while (stopAt == 0 || (1ull << largestExponent(grid)) < stopAt) {
        const auto start = std::chrono::steady_clock::now();
        const Direction dir = engine.chooseMove(grid);
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        const Moved moved = rows.move(grid, dir);
        // The engine moves whenever a move changes the grid; otherwise the game is over.
        if (moved.grid == grid) break;
        grid = spawn(moved.grid, random);
        game.score += moved.score;
        ++game.moves;
    }
    game.largest = 1u << largestExponent(grid);
    game.last = grid;
    allMs.insert(allMs.end(), ms.begin(), ms.end());
    game.maxMs = *std::max_element(ms.begin(), ms.end());
    game.medianMs = percentile(ms, 0.5);
    return game;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (const std::string error = parse(argc, argv, options); !error.empty()) {
        std::fprintf(stderr, "computer_bench: %s\n", error.c_str());
        return 2;
    }
    const char* level = levelName(options.level);
    if (options.csv) std::printf("level,seed,score,largest_tile,moves,median_ms,max_ms\n");
    std::vector<double> allMs;
    std::vector<Game> games;
    std::mt19937_64 seeds(options.seed);
    seeds.discard(options.from);
    for (std::uint64_t i = 0; i < options.games; ++i) {
        const Game g = play(options.level, seeds(), options.stopAt, allMs);
        games.push_back(g);
        if (options.csv)
            std::printf("%s,%llu,%llu,%u,%llu,%.3f,%.3f\n", level, static_cast<unsigned long long>(g.seed),
                        static_cast<unsigned long long>(g.score), g.largest, static_cast<unsigned long long>(g.moves),
                        g.medianMs, g.maxMs);
        else
            std::printf("seed %20llu  score %7llu  largest %5u  moves %6llu  median %7.3f ms  slowest %8.3f ms%s\n",
                        static_cast<unsigned long long>(g.seed), static_cast<unsigned long long>(g.score), g.largest,
                        static_cast<unsigned long long>(g.moves), g.medianMs, g.maxMs,
                        options.stopAt == 0           ? ""
                        : g.largest >= options.stopAt ? "  OK"
                                                      : "  LOST");
        // A lost game's last grid shows how it died.
        if (!options.csv && options.stopAt != 0 && g.largest < options.stopAt)
            std::printf("  last grid %016llx\n", static_cast<unsigned long long>(g.last));
        std::fflush(stdout);
    }
    if (options.csv) return 0;
    double scores = 0;
    for (const Game& g : games) scores += static_cast<double>(g.score);
    std::printf("level %s: %zu games, mean score %.0f\nreached:", level, games.size(),
                scores / static_cast<double>(games.size()));
    for (std::uint32_t tile = 512; tile <= 32768; tile *= 2) {
        const auto reached =
            std::count_if(games.begin(), games.end(), [&](const Game& g) { return g.largest >= tile; });
        std::printf(" %u %.0f %%%s", tile, 100.0 * static_cast<double>(reached) / static_cast<double>(games.size()),
                    tile < 32768 ? "," : "\n");
    }
    const double median = percentile(allMs, 0.5);
    const double p99 = percentile(allMs, 0.99);
    std::printf("thinking time per move: median %.3f ms, 99th percentile %.3f ms\n", median, p99);
    return 0;
}
