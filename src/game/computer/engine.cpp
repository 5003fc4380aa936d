#include "game/computer/engine.hpp"

#include "game/computer/expectimax.hpp"

#include <algorithm>
#include <array>
#include <bit>

namespace tandrel::computer {

namespace {

using namespace std::chrono_literals;

// How each level plays. The weaker levels are not merely shallower: looking
// past one new tile with the full evaluation already reaches 2048 in half the
// games, so they judge grids crudely or now and then move without thinking.
// Easy plays with some care until it holds a 256 and carelessly from then on,
// which ends most of its games there: mistakes spread over the whole game
// leave as many ending at 128 or 512.
struct Play {
    const char* name;
    const Evaluation& (*evaluation)();
    SearchLimits limits;
    // Thinking time for a move on a grid with room, and on a crowded one,
    // where a game is won or lost.
    std::chrono::microseconds budget;
    std::chrono::microseconds crowdedBudget;
    // The share of moves drawn at random among those that change the grid,
    // once the grid holds a tile of 2^carelessFrom.
    double careless;
    std::uint32_t carelessFrom;
};

// A grid with at most this many empty cells is crowded: about half the moves
// of a long game, and the ones that decide it. The rest think briefly, which
// keeps the median move short.
constexpr std::uint32_t crowded = 2;
// Past this many distinct tiles the chain of large tiles leaves almost no room
// to build the next one, and that is where games are lost: those that died
// holding an 8192 had ten or more distinct tiles in four of their last 300
// moves in five, against one move in six over a whole game. Each further
// distinct tile doubles the crowded budget; those moves take half of a game's
// thinking.
constexpr std::uint32_t longChain = 9;

// Expert's depth is bounded by its budget alone: a cap of twelve moves ended
// the searches on the longest chains at a fraction of their budget.
const std::array<Play, 4>& plays() {
    static const std::array<Play, 4> table{{
        {"easy", crudeEvaluation, {.maxDepth = 1}, 0ms, 0ms, 0.5, 8},
        {"normal", strongEvaluation, {.maxDepth = 2}, 1ms, 1ms, 0.02, 0},
        {"hard", strongEvaluation, {.maxDepth = 3}, 2ms, 2ms, 0, 0},
        {"expert", strongEvaluation, {.maxDepth = 20}, 8ms, 60ms, 0, 0},
    }};
    return table;
}

const Play& playOf(Level level) { return plays()[static_cast<std::size_t>(level)]; }

// SplitMix64: small, and the same sequence for the same seed everywhere.
class Dice {
public:
    explicit Dice(std::uint64_t seed) : state(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1).
    double unit() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }

private:
    std::uint64_t state;
};

} // namespace

const char* levelName(Level level) { return playOf(level).name; }

std::optional<Level> parseLevel(std::string_view name) {
    for (std::size_t i = 0; i < plays().size(); ++i)
        if (name == plays()[i].name) return static_cast<Level>(i);
    return std::nullopt;
}

Packed pack(const BoardArray& grid) {
    Packed packed = 0;
    for (std::uint32_t y = 0; y < 4; ++y)
        for (std::uint32_t x = 0; x < 4; ++x) {
            const std::uint32_t value = grid(x, y);
            // A tile past 32768 does not fit a nibble; it is seen as a 32768.
            const Packed exponent = value == 0 ? 0 : std::min<std::uint32_t>(std::countr_zero(value), 15);
            packed |= exponent << (4 * (4 * y + x));
        }
    return packed;
}

BoardArray unpack(Packed packed) {
    BoardArray grid;
    for (std::uint32_t y = 0; y < 4; ++y)
        for (std::uint32_t x = 0; x < 4; ++x) {
            const auto exponent = static_cast<std::uint32_t>((packed >> (4 * (4 * y + x))) & 0xF);
            grid.set(exponent == 0 ? 0 : 1u << exponent, x, y);
        }
    return grid;
}

struct Engine::Search {
    Search(Level level, std::uint64_t seed)
        : level(level), play(playOf(level)), expectimax(play.evaluation(), play.limits), dice(seed) {}

    Level level;
    const Play& play;
    Expectimax expectimax;
    Dice dice;
};

Engine::Engine(Level level, std::uint64_t seed) : search(std::make_unique<Search>(level, seed)) {}

Engine::~Engine() = default;

Level Engine::level() const { return search->level; }

Direction Engine::chooseMove(Packed grid) {
    const RowTables& rows = rowTables();
    std::array<Direction, 4> changing{};
    std::uint32_t count = 0;
    for (const Direction dir : {Direction::Left, Direction::Right, Direction::Up, Direction::Down})
        if (rows.move(grid, dir).grid != grid) changing[count++] = dir;
    if (count == 0) return Direction::Left;
    if (count == 1) return changing[0];
    const Play& play = search->play;
    if (play.careless > 0 && largestExponent(grid) >= play.carelessFrom && search->dice.unit() < play.careless)
        return changing[search->dice.next() % count];
    const std::uint32_t distinct = distinctTiles(grid);
    const bool isCrowded = emptyCells(grid) <= crowded;
    auto budget = distinct > longChain ? play.crowdedBudget * (1 << (distinct - longChain))
                  : isCrowded          ? play.crowdedBudget
                                       : play.budget;
    // A crowded grid on the longest chains, from eleven distinct tiles, is
    // where lost games went wrong: it gets twice that again. These moves are
    // few, so the median move is untouched.
    if (isCrowded && distinct > longChain + 1) budget *= 2;
    return search->expectimax.best(grid, budget).value_or(changing[0]);
}

std::uint64_t Engine::positionsSearched() const { return search->expectimax.positions(); }

void Engine::stop() { search->expectimax.stop(); }

} // namespace tandrel::computer
