// The game's memory: what a save of the match in play and a record cost on
// the keeper's thread (each a transaction that waits for the disk), and what
// handing the match over costs the frame that made a move.
// Run from build/: the files are made in a scratch folder there, on the
// disk a player's data folder would be on.

#include <benchmark/benchmark.h>

// GCC pairs the counter's inlined malloc and free with new and delete and
// warns about a mismatch that is not there.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#include "alloc_counter.hpp"
#pragma GCC diagnostic pop

#include "game/memory/keeper.hpp"
#include "game/memory/matchfile.hpp"
#include "game/memory/records.hpp"
#include "game/memory/sqlite.hpp"

#include <filesystem>
#include <string>

namespace {

using namespace tandrel::memory;
namespace fs = std::filesystem;

class Scratch {
public:
    Scratch() : path(fs::absolute("memory-bench")) {
        fs::remove_all(path);
        tandrel::sqliteLoader().load();
    }
    ~Scratch() { fs::remove_all(path); }
    const fs::path path;
};

KeptMatch someMatch() {
    KeptMatch match;
    match.id = 42;
    match.boards[0].cells = {2, 4, 8, 16, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 2};
    match.boards[1].cells = {0, 0, 0, 2, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    match.generator = tandrel::Mt19937::seededFromSystem().state();
    return match;
}

void BM_SaveMatchInPlay(benchmark::State& state) {
    Scratch scratch;
    Database db = createStoreFile(scratch.path, matchFile);
    KeptMatch match = someMatch();
    for (auto _ : state) {
        ++match.boards[0].moves;
        saveKeptMatch(db, match);
    }
}
BENCHMARK(BM_SaveMatchInPlay)->Unit(benchmark::kMillisecond)->UseRealTime();

// With a thousand matches recorded before: the record, then the summary the
// board captions are made from.
void BM_RecordMatch(benchmark::State& state) {
    Scratch scratch;
    Database db = createStoreFile(scratch.path, recordsFile);
    db.exec("BEGIN");
    for (std::uint64_t id = 1; id <= 1000; ++id)
        addRecord(
            db,
            {id, 1765000000, {{{PlayerKind::Person, 900, 64, 80}, {PlayerKind::Hard, 1200, 128, 90}}}, Winner::Right});
    db.exec("COMMIT");
    std::uint64_t id = 1000;
    for (auto _ : state) {
        addRecord(db, {++id,
                       1765000000,
                       {{{PlayerKind::Person, 900, 64, 80}, {PlayerKind::Hard, 1200, 128, 90}}},
                       Winner::Right});
        benchmark::DoNotOptimize(readSummary(db));
    }
}
BENCHMARK(BM_RecordMatch)->Unit(benchmark::kMillisecond)->UseRealTime();

// On the frame that made the move: a copy under the keeper's lock, no wait
// for the disk, no allocation.
void BM_HandOverMatchInPlay(benchmark::State& state) {
    Scratch scratch;
    Keeper keeper({.folder = scratch.path, .report = [](const std::string&) {}});
    const KeptMatch match = someMatch();
    const std::size_t before = tandrel::bench::allocations.load();
    for (auto _ : state) keeper.keep(match);
    tandrel::bench::reportAllocations(state, before, "allocs/handover");
}
BENCHMARK(BM_HandOverMatchInPlay);

} // namespace
