// Cost of one board move on random positions, and of one frame of the game
// scene (two full boards and their score lines) with every OpenGL slot
// pointed at a function that does nothing, with the heap allocations each
// makes; and the longest frame while the computer plays.

#include <benchmark/benchmark.h>

// GCC pairs the counter's inlined malloc and free with new and delete and
// warns about a mismatch that is not there.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#include "alloc_counter.hpp"
#pragma GCC diagnostic pop

#include "binding/freetype/freetype.hpp"
#include "binding/opengl/gl.hpp"
#include "framework/core/layer.hpp"
#include "framework/ui/ftfont.hpp"
#include "game/board.hpp"
#include "game/computerplayer.hpp"
#include "game/moveworker.hpp"
#include "game/random.hpp"
#include "noop_gl.hpp"

#include <algorithm>
#include <chrono>
#include <memory>
#include <random>
#include <vector>

namespace {

using tandrel::Board;
using tandrel::BoardArray;
using tandrel::BoardState;
using tandrel::Direction;

struct Fonts {
    Fonts() : large((load(), path), 27), small(path, 16) {}
    static void load() {
        tandrel::bench::installNoOpGL();
        tandrel::vandorFT().load();
    }
    static constexpr const char* path = TANDREL_BUILD_DIR "/data/fonts/clearsans/ClearSans-Bold.ttf";
    tandrel::FreeTypeFont large;
    tandrel::FreeTypeFont small;
};

Fonts& fonts() {
    static Fonts shared;
    return shared;
}

// Positions met in random play, each with the direction pressed on it.
struct Position {
    BoardArray grid;
    Direction dir;
};

std::vector<Position> randomPositions(Board& board, std::size_t count) {
    std::mt19937 keys(11);
    std::vector<Position> positions;
    board.reset(2, 2);
    while (positions.size() < count) {
        const auto dir = static_cast<Direction>(keys() % 4);
        positions.push_back({board.grid, dir});
        board.move(dir);
        board.state = BoardState::Idle;
        if (board.gameOver) board.reset(tandrel::randomTileValue(), tandrel::randomTileValue());
    }
    return positions;
}

void BM_Move(benchmark::State& state) {
    Board board(fonts().large, fonts().small);
    const std::vector<Position> positions = randomPositions(board, 4096);
    std::size_t next = 0;
    const std::size_t before = tandrel::bench::allocations.load();
    for (auto _ : state) {
        const Position& p = positions[next++ & 4095];
        board.grid = p.grid;
        board.state = BoardState::Idle;
        board.move(p.dir);
        benchmark::DoNotOptimize(board.grid);
    }
    // Counted first: recording a counter allocates.
    tandrel::bench::reportAllocations(state, before, "allocs/move");
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Move);

void fillGrid(Board& board, const std::uint32_t (&rows)[4][4]) {
    for (std::uint32_t y = 0; y < 4; ++y)
        for (std::uint32_t x = 0; x < 4; ++x) board.grid.set(rows[y][x], x, y);
}

// Both boards hold 16 tiles; the left one shows the slide of a move that
// merged every row, re-armed each frame so it never comes to rest. They are
// drawn as the game draws them: through a layer that fits the 810 x 450 scene
// to a window of the given width (1620 shows glyphs rasterised twice as large).
void BM_Frame(benchmark::State& state) {
    const auto scene = static_cast<int>(state.range(0)); // 0 playing, 1 one out, 2 decided
    const auto windowWidth = static_cast<std::uint32_t>(state.range(1));
    tandrel::Layer layer(0, 0, windowWidth, windowWidth * 450 / 810, tandrel::LayerType::Layer2D, 0);
    layer.setLogicalSize(810, 450);
    Board left(fonts().large, fonts().small);
    Board right(fonts().large, fonts().small);
    right.position = tandrel::Vector2f(410, 0);
    left.reset(2, 2);
    right.reset(2, 2);
    fillGrid(left, {{2, 2, 4, 4}, {8, 8, 16, 16}, {32, 32, 64, 64}, {128, 128, 256, 256}});
    left.move(Direction::Left);
    fillGrid(right, {{2, 4, 8, 16}, {32, 64, 128, 256}, {512, 1024, 2048, 4096}, {8192, 2, 4, 8}});
    right.score = 123456;
    const auto slide = left.movingTiles;
    const std::int32_t pending = left.pendingAnimations;
    if (scene >= 1) right.gameOver = true;
    if (scene == 2) {
        left.gameOver = true;
        left.winner = true;
        left.state = right.state = BoardState::Decided;
    }

    layer.addDrawable(left);
    layer.addDrawable(right);
    layer.draw(0.001); // a size is rasterised the first time it is seen

    const std::size_t before = tandrel::bench::allocations.load();
    for (auto _ : state) {
        if (scene < 2) {
            left.movingTiles = slide;
            left.pendingAnimations = pending;
            left.state = BoardState::Animating;
        }
        layer.draw(0.001);
    }
    tandrel::bench::reportAllocations(state, before, "allocs/frame");
}
BENCHMARK(BM_Frame)
    ->ArgsProduct({{0, 1, 2}, {810, 1620}})
    ->ArgNames({"scene", "window"})
    ->Unit(benchmark::kMicrosecond);

} // namespace

namespace {

// A frame of a match whose right board the computer steers at `expert` as
// fast as it thinks (nobody is left to follow it), its search running on the
// worker thread, against the same frame with the right board left alone.
// Frames are 1/60 s of game time, so the slides run as on a screen.
void BM_FrameWithComputer(benchmark::State& state) {
    const bool computer = state.range(0) == 1;
    constexpr double frameTime = 1.0 / 60;
    Board left(fonts().large, fonts().small);
    Board right(fonts().large, fonts().small);
    right.position = tandrel::Vector2f(410, 0);
    left.reset(2, 2);
    right.reset(2, 2);
    tandrel::MoveWorker worker;
    tandrel::ComputerPlayer player(worker, 1, right);
    if (computer) player.steer(tandrel::computer::Level::Expert);

    std::int32_t games = 0;
    // Frame times in microseconds, room made before counting allocations; on
    // a shared machine the longest frame alone mostly measures the scheduler.
    std::vector<double> frames;
    frames.reserve(std::size_t{1} << 22);
    const std::size_t before = tandrel::bench::allocations.load();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        player.update(true);
        left.draw(frameTime);
        right.draw(frameTime);
        const std::chrono::duration<double, std::micro> took = std::chrono::steady_clock::now() - start;
        if (frames.size() < frames.capacity()) frames.push_back(took.count());
        if (right.gameOver) {
            state.PauseTiming();
            ++games;
            right.reset(2, 2);
            player.steer(tandrel::computer::Level::Expert);
            state.ResumeTiming();
        }
    }
    tandrel::bench::reportAllocations(state, before, "allocs/frame");
    std::sort(frames.begin(), frames.end());
    const auto at = [&](double share) { return frames[std::size_t(share * double(frames.size() - 1))]; };
    state.counters["p99_us"] = at(0.99);
    state.counters["p99.9_us"] = at(0.999);
    state.counters["longest_us"] = frames.back();
    state.counters["score"] = benchmark::Counter(right.score);
    state.counters["games"] = benchmark::Counter(games);
}
BENCHMARK(BM_FrameWithComputer)->Arg(0)->Arg(1)->ArgName("computer")->MinTime(3)->Unit(benchmark::kMicrosecond);

} // namespace
