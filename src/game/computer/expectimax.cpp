#include "game/computer/expectimax.hpp"

#include <algorithm>
#include <limits>

namespace tandrel::computer {

namespace {

// 2^18 entries of 16 bytes: 4 MiB an engine, touched once when it is made.
constexpr std::uint32_t cacheBits = 18;
constexpr Direction directions[] = {Direction::Left, Direction::Right, Direction::Up, Direction::Down};

std::uint32_t slot(Packed grid) {
    return static_cast<std::uint32_t>((grid * 0x9E3779B97F4A7C15ULL) >> (64 - cacheBits));
}

} // namespace

// A grid met after a move, with its expected worth when searched `depth`
// moves deep. Grid 0 never follows a move, so it marks an empty slot.
struct Expectimax::Entry {
    Packed grid = 0;
    float worth = 0;
    std::uint32_t depth = 0;
};

Expectimax::Expectimax(const Evaluation& evaluation, const SearchLimits& limits)
    : rows(rowTables()), evaluation(evaluation), limits(limits), cache(new Entry[std::size_t{1} << cacheBits]) {}

Expectimax::~Expectimax() = default;

std::optional<Direction> Expectimax::best(Packed grid, std::chrono::microseconds budget) {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    deadline = start + budget;
    std::optional<Direction> chosen;
    Clock::duration previous{};
    for (std::uint32_t depth = 1; depth <= limits.maxDepth; ++depth) {
        const auto begun = Clock::now();
        // The first depth always finishes, so there is always an answer.
        deadlineSet = depth > 1;
        aborted = false;
        std::optional<Direction> found;
        float bestWorth = -std::numeric_limits<float>::infinity();
        for (const Direction dir : directions) {
            const Packed next = rows.move(grid, dir).grid;
            if (next == grid) continue;
            const float worth = afterMove(next, depth, 1);
            if (worth > bestWorth) {
                bestWorth = worth;
                found = dir;
            }
        }
        if (aborted) break;
        chosen = found;
        if (!chosen) break;
        // Start a deeper search only while it may finish in time, judging its
        // cost by how much the last one grew.
        const auto now = Clock::now();
        const auto took = now - begun;
        const double growth =
            previous.count() > 0 ? std::clamp(double(took.count()) / double(previous.count()), 2.0, 16.0) : 4.0;
        if (now - start + std::chrono::duration_cast<Clock::duration>(took * growth) > budget) break;
        previous = took;
    }
    return chosen;
}

float Expectimax::afterMove(Packed grid, std::uint32_t depth, float probability) {
    ++positionCount;
    if (depth <= 1 || probability < limits.cutoff) return evaluation(grid);
    if (outOfTime()) return 0;
    Entry& entry = cache[slot(grid)];
    if (entry.grid == grid && entry.depth >= depth) return entry.worth;

    const std::uint32_t empty = emptyCells(grid);
    const float share = probability / static_cast<float>(empty);
    float total = 0;
    Packed free = ~grid;
    for (std::uint32_t cell = 0; cell < 16; ++cell, free >>= 4) {
        if ((free & 0xF) != 0xF) continue;
        const Packed two = Packed{1} << (4 * cell);
        total += 0.9f * beforeMove(grid | two, depth - 1, share * 0.9f);
        total += 0.1f * beforeMove(grid | (two << 1), depth - 1, share * 0.1f);
    }
    const float worth = total / static_cast<float>(empty);
    if (!aborted) entry = Entry{grid, worth, depth};
    return worth;
}

float Expectimax::beforeMove(Packed grid, std::uint32_t depth, float probability) {
    float bestWorth = evaluation.lost();
    for (const Direction dir : directions) {
        const Packed next = rows.move(grid, dir).grid;
        if (next != grid) bestWorth = std::max(bestWorth, afterMove(next, depth, probability));
    }
    return bestWorth;
}

bool Expectimax::outOfTime() {
    // The clock is read once every 256 inner positions; it costs more than one.
    if (deadlineSet && ++sinceClock == 256) {
        sinceClock = 0;
        aborted = stopped.load(std::memory_order_relaxed) || std::chrono::steady_clock::now() > deadline;
    }
    return aborted;
}

} // namespace tandrel::computer
