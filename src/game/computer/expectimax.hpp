#pragma once

#include "game/computer/evaluation.hpp"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>

namespace tandrel::computer {

// How deep and how long one search may look.
struct SearchLimits {
    // Moves looked ahead, the first included; 1 judges each move's result alone.
    std::uint32_t maxDepth = 1;
    // Chance branches less likely than this are judged by the evaluation.
    float cutoff = 1e-4f;
};

// Expectimax over the computer's moves and the new tile's chance: each empty
// cell alike, a 2 nine times in ten and a 4 otherwise.
class Expectimax {
public:
    Expectimax(const Evaluation& evaluation, const SearchLimits& limits);
    ~Expectimax();

    // The move expected to leave the best grid among those that change it;
    // none when no move does. Deeper searches start only while they may
    // finish within the budget, and one that overruns it is abandoned for the
    // last finished one.
    std::optional<Direction> best(Packed grid, std::chrono::microseconds budget);
    std::uint64_t positions() const { return positionCount; }
    // From any thread: searches end as if out of time, now and from now on.
    void stop() { stopped.store(true, std::memory_order_relaxed); }

private:
    struct Entry;

    float afterMove(Packed grid, std::uint32_t depth, float probability);
    float beforeMove(Packed grid, std::uint32_t depth, float probability);
    bool outOfTime();

    const RowTables& rows;
    const Evaluation& evaluation;
    SearchLimits limits;
    std::chrono::steady_clock::time_point deadline;
    bool deadlineSet = false;
    bool aborted = false;
    std::atomic<bool> stopped = false;
    std::uint32_t sinceClock = 0;
    std::uint64_t positionCount = 0;
    std::unique_ptr<Entry[]> cache;
};

} // namespace tandrel::computer
