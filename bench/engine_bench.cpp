// Raw speed of the computer player: grids moved through the row tables per
// second, and positions searched per second while an expert engine chooses
// moves through a stretch of a game, with the heap allocations that makes
// once the engine has made its first move.

#include <benchmark/benchmark.h>

// GCC pairs the counter's inlined malloc and free with new and delete and
// warns about a mismatch that is not there.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#include "alloc_counter.hpp"
#pragma GCC diagnostic pop

#include "game/computer/engine.hpp"
#include "game/computer/rows.hpp"
#include "spawn.hpp"

#include <vector>

namespace {

using namespace tandrel;
using namespace tandrel::computer;

// Grids met in a game the hard level plays, from the first 1024 tile on: a
// crowded mid-game with a few large tiles, as an expert engine meets most.
const std::vector<Packed>& midGame() {
    static const std::vector<Packed> grids = [] {
        std::vector<Packed> found;
        std::mt19937_64 random(2048);
        Engine engine(Level::Hard, 1);
        const RowTables& rows = rowTables();
        Packed grid = bench::spawn(bench::spawn(0, random), random);
        bool reached = false;
        while (found.size() < 256) {
            const Packed next = rows.move(grid, engine.chooseMove(grid)).grid;
            if (next == grid) break;
            grid = bench::spawn(next, random);
            reached = reached || largestExponent(grid) >= 10;
            if (reached) found.push_back(grid);
        }
        return found;
    }();
    return grids;
}

void BM_RowTableMove(benchmark::State& state) {
    const RowTables& rows = rowTables();
    const std::vector<Packed>& grids = midGame();
    std::size_t i = 0;
    for (auto _ : state) {
        const Packed grid = grids[i++ % grids.size()];
        for (const Direction dir : {Direction::Left, Direction::Right, Direction::Up, Direction::Down})
            benchmark::DoNotOptimize(rows.move(grid, dir));
    }
    state.SetItemsProcessed(state.iterations() * 4);
}
BENCHMARK(BM_RowTableMove);

// Items are positions searched; the allocation counter is per move chosen.
void BM_ExpertSearch(benchmark::State& state) {
    const std::vector<Packed>& grids = midGame();
    Engine engine(Level::Expert, 1);
    engine.chooseMove(grids[0]);
    const std::uint64_t searchedBefore = engine.positionsSearched();
    const std::size_t allocationsBefore = bench::allocations.load();
    std::size_t i = 1;
    for (auto _ : state) benchmark::DoNotOptimize(engine.chooseMove(grids[i++ % grids.size()]));
    bench::reportAllocations(state, allocationsBefore, "allocs/move");
    state.SetItemsProcessed(static_cast<std::int64_t>(engine.positionsSearched() - searchedBefore));
}
BENCHMARK(BM_ExpertSearch)->Unit(benchmark::kMillisecond);

} // namespace
