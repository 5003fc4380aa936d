#include <gtest/gtest.h>

#include "game/board.hpp"
#include "game/random.hpp"

#include "fixtures/board_fixture.hpp"

#include <array>
#include <bit>
#include <cstdint>
#include <random>
#include <string>

namespace tandrel {
namespace {

using test::Rows;
using test::rowsOf;
using test::setRows;

std::uint32_t total(const Rows& rows) {
    std::uint32_t sum = 0;
    for (const auto& row : rows)
        for (std::uint32_t v : row) sum += v;
    return sum;
}

std::uint32_t tiles(const Rows& rows) {
    std::uint32_t n = 0;
    for (const auto& row : rows)
        for (std::uint32_t v : row) n += v != 0;
    return n;
}

// Merging two v into 2v adds 2v to the sum of v * log2(v) over the grid, just
// as it adds 2v to the score, and sliding changes neither: the growth of this
// sum, less the spawned tile's share, is what the merges made.
std::int32_t weight(const Rows& rows) {
    std::int32_t sum = 0;
    for (const auto& row : rows)
        for (std::uint32_t v : row)
            if (v) sum += static_cast<std::int32_t>(v) * std::countr_zero(v);
    return sum;
}

Mt19937::State seededState(std::uint32_t seed) {
    std::mt19937 source(seed);
    Mt19937::State state{};
    for (auto& word : state) word = source();
    return state;
}

struct BoardRules : ::testing::Test, test::BoardFixture {
    BoardRules() { testing::setGeneratorState(seededState(20261208)); }
};

TEST_F(BoardRules, SlidesAndMergesTowardTheEdgeAndSpawnsOneTileOnChange) {
    struct Case {
        Rows before;
        Direction dir;
        Rows after; // without the spawned tile
        std::int32_t gain;
    };
    const Case cases[] = {
        {{{{0, 0, 0, 2}}}, Direction::Left, {{{2, 0, 0, 0}}}, 0},
        {{{{2, 2, 0, 0}}}, Direction::Left, {{{4, 0, 0, 0}}}, 4},
        {{{{2, 2, 2, 2}}}, Direction::Left, {{{4, 4, 0, 0}}}, 8},
        {{{{2, 2, 4, 0}}}, Direction::Left, {{{4, 4, 0, 0}}}, 4},
        {{{{4, 2, 2, 0}}}, Direction::Left, {{{4, 4, 0, 0}}}, 4},
        {{{{4, 4, 8, 8}}}, Direction::Left, {{{8, 16, 0, 0}}}, 24},
        {{{{2, 2, 2, 0}}}, Direction::Right, {{{0, 0, 2, 4}}}, 4},
        // Columns: the merge lands on the edge side of the pressed direction.
        {{{{2, 0, 0, 0}, {2, 0, 0, 0}, {2, 0, 0, 0}, {0, 0, 0, 0}}},
         Direction::Up,
         {{{4, 0, 0, 0}, {2, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}},
         4},
        {{{{0, 8, 0, 0}, {2, 8, 0, 0}, {2, 0, 0, 0}, {0, 16, 0, 0}}},
         Direction::Down,
         {{{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 16, 0, 0}, {4, 16, 0, 0}}},
         20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.before) + " dir " + std::to_string(int(c.dir)));
        board.reset(2, 2);
        setRows(board, c.before);
        board.score = 10;
        board.move(c.dir);

        EXPECT_EQ(board.score, 10 + c.gain);
        EXPECT_EQ(board.state, BoardState::Animating);
        EXPECT_FALSE(board.gameOver);
        // Exactly one cell differs from the slid grid: an empty one, now 2 or 4.
        const Rows got = rowsOf(board);
        int spawned = 0;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                if (got[y][x] != c.after[y][x]) {
                    ++spawned;
                    EXPECT_EQ(c.after[y][x], 0u);
                    EXPECT_TRUE(got[y][x] == 2 || got[y][x] == 4) << got[y][x];
                }
        EXPECT_EQ(spawned, 1);
        // One record per tile before the move, carrying its old value.
        EXPECT_EQ(board.movingTiles.count, tiles(c.before));
        EXPECT_EQ(board.pendingAnimations, static_cast<std::int32_t>(tiles(c.before)));
        std::uint32_t recorded = 0;
        for (std::uint32_t p = 0; p < board.movingTiles.count; ++p) recorded += board.movingTiles[p].value;
        EXPECT_EQ(recorded, total(c.before));
    }
}

TEST_F(BoardRules, AMoveThatChangesNothingSpawnsNothingAndEndsOnlyAFullBoard) {
    const Rows packed{{{2, 4, 8, 16}, {2, 0, 0, 0}, {0, 0, 0, 0}, {4, 2, 0, 0}}};
    setRows(board, packed);
    board.move(Direction::Left);
    EXPECT_EQ(rowsOf(board), packed);
    EXPECT_EQ(board.score, 0);
    EXPECT_FALSE(board.gameOver);
    EXPECT_EQ(board.state, BoardState::Animating);
    EXPECT_EQ(board.movingTiles.count, tiles(packed));

    // Full, with equal neighbours only along the columns: Left ends the game
    // although Up could still merge.
    const Rows full{{{2, 4, 2, 4}, {2, 4, 2, 4}, {8, 16, 8, 16}, {32, 64, 32, 64}}};
    board.reset(2, 4);
    setRows(board, full);
    board.move(Direction::Left);
    EXPECT_TRUE(board.gameOver);
    EXPECT_EQ(rowsOf(board), full);
    EXPECT_EQ(board.score, 0);
    EXPECT_EQ(board.state, BoardState::Animating);

    // Placing a tile on a full grid ends the game instead.
    board.reset(2, 4);
    setRows(board, full);
    board.addTile(2);
    EXPECT_TRUE(board.gameOver);
    EXPECT_EQ(rowsOf(board), full);
}

TEST_F(BoardRules, MovesWhileSlidingAreDroppedAndOtherStatesAcceptThem) {
    setRows(board, {{{2, 2, 0, 4}, {0, 8, 0, 8}, {0, 0, 0, 0}, {0, 0, 0, 0}}});
    board.move(Direction::Left);
    const Rows grid = rowsOf(board);
    const std::int32_t score = board.score;
    const auto records = board.movingTiles;
    const std::int32_t pending = board.pendingAnimations;
    for (Direction dir : {Direction::Right, Direction::Up, Direction::Down, Direction::Left}) board.move(dir);
    EXPECT_EQ(rowsOf(board), grid);
    EXPECT_EQ(board.score, score);
    EXPECT_EQ(board.pendingAnimations, pending);
    ASSERT_EQ(board.movingTiles.count, records.count);
    for (std::uint32_t p = 0; p < records.count; ++p) {
        EXPECT_EQ(board.movingTiles[p].value, records[p].value);
        EXPECT_EQ(board.movingTiles[p].position, records[p].position);
        EXPECT_EQ(board.movingTiles[p].target, records[p].target);
    }

    // A match decided mid-slide leaves its records behind; the next move
    // must start afresh rather than pile onto them.
    board.state = BoardState::Decided;
    board.move(Direction::Right);
    EXPECT_NE(rowsOf(board), grid);
    EXPECT_EQ(board.state, BoardState::Animating);
    EXPECT_EQ(board.movingTiles.count, tiles(grid));
}

TEST_F(BoardRules, ResetDealsTwoOpeningTilesOnACleanBoard) {
    for (int round = 0; round < 50; ++round) {
        setRows(board, {{{2, 4, 8, 16}, {32, 64, 2, 4}, {8, 16, 32, 64}, {2, 4, 8, 16}}});
        board.gameOver = board.winner = true;
        board.score = 999;
        board.state = round % 2 ? BoardState::Decided : BoardState::Animating;
        board.movingTiles.add(Tile(2, {0, 0}, {1, 1}));
        board.reset(2, 4);
        const Rows rows = rowsOf(board);
        EXPECT_EQ(tiles(rows), 2u);
        EXPECT_EQ(total(rows), 6u); // a 2 and a 4, never two 2s and a missing 4
        EXPECT_EQ(board.score, 0);
        EXPECT_FALSE(board.gameOver);
        EXPECT_FALSE(board.winner);
        EXPECT_EQ(board.state, BoardState::Idle);
        EXPECT_EQ(board.movingTiles.count, 0u);
    }
}

TEST_F(BoardRules, FreeCellsAndGeometry) {
    board.grid.clear();
    FreeCells free = board.freeCells();
    ASSERT_EQ(free.count, 16u);
    for (std::uint32_t p = 0; p < 16; ++p) {
        EXPECT_EQ(free[p].first, p / 4);
        EXPECT_EQ(free[p].second, p % 4);
    }
    board.grid.set(2, 0, 1);
    board.grid.set(4, 3, 3);
    free = board.freeCells();
    ASSERT_EQ(free.count, 14u);
    EXPECT_EQ(free[1].second, 2u);
    EXPECT_EQ(free[13].first, 3u);
    EXPECT_EQ(free[13].second, 2u);

    board.position = Vector2f(410, 0);
    EXPECT_EQ(board.cellCenter(0, 0), Vector2f(460, 400));
    EXPECT_EQ(board.cellCenter(3, 3), Vector2f(760, 100));
    EXPECT_EQ(board.cellCenter(2, 1), Vector2f(660, 300));
    EXPECT_EQ(board.lineCellCenter(2, 0, Direction::Right), board.cellCenter(3, 2));
    EXPECT_EQ(board.lineCellCenter(1, 2, Direction::Left), board.cellCenter(2, 1));
    EXPECT_EQ(board.lineCellCenter(1, 2, Direction::Up), board.cellCenter(1, 2));
    EXPECT_EQ(board.lineCellCenter(1, 0, Direction::Down), board.cellCenter(1, 3));
}

TEST_F(BoardRules, NineInTenSpawnsAreTwos) {
    constexpr int draws = 20000;
    int twos = 0;
    for (int i = 0; i < draws; ++i) {
        const std::uint32_t v = randomTileValue();
        ASSERT_TRUE(v == 2 || v == 4) << v;
        twos += v == 2;
    }
    EXPECT_NEAR(static_cast<double>(twos) / draws, 0.9, 0.01);
}

// What a network match relies on: two programs that give a board a generator
// seeded alike draw the same tiles, and the process's own draws are left alone.
TEST_F(BoardRules, ABoardWithAGeneratorOfItsOwnDrawsFromItAlone) {
    test::BoardFixture other;
    Mt19937 mine = Mt19937::fromSeed(2718), theirs = Mt19937::fromSeed(2718);
    board.generator = &mine;
    other.board.generator = &theirs;
    const Mt19937 before = currentGenerator();
    for (Board* b : {&board, &other.board}) b->reset(2, 2);
    for (int move = 0; move < 40; ++move)
        for (Board* b : {&board, &other.board}) {
            b->state = BoardState::Idle;
            b->move(static_cast<Direction>(move % 4));
        }
    EXPECT_EQ(rowsOf(board), rowsOf(other.board));
    EXPECT_GT(tiles(rowsOf(board)), 10u);
    EXPECT_EQ(currentGenerator().state(), before.state());
    EXPECT_EQ(currentGenerator().position(), before.position());
}

// Random play over many matches, ending every slide through real draw passes
// now and then, checking what must hold after any move.
struct BoardSoak : BoardRules {
    test::RecordingTable table;
};

TEST_F(BoardSoak, RandomPlayKeepsTheInvariants) {
    std::mt19937 keys(7);
    constexpr int totalMoves = 200000;
    int played = 0, matches = 0, drawnSlides = 0;
    while (played < totalMoves) {
        ++matches;
        board.reset(randomTileValue(), randomTileValue());
        for (int m = 0; m < 3000 && played < totalMoves; ++m, ++played) {
            const Rows before = rowsOf(board);
            const std::int32_t scoreBefore = board.score;
            const bool overBefore = board.gameOver;
            board.move(static_cast<Direction>(keys() % 4));
            const Rows after = rowsOf(board);

            for (const auto& row : after)
                for (std::uint32_t v : row) ASSERT_TRUE(v == 0 || (v >= 2 && std::has_single_bit(v))) << v;
            // The slide keeps the total; only the spawned 2 or 4 adds to it.
            const std::uint32_t spawned = total(after) - total(before);
            ASSERT_TRUE(spawned == 0 || spawned == 2 || spawned == 4) << spawned;
            ASSERT_EQ(spawned == 0, after == before);
            // The score grows by exactly what the merges made.
            ASSERT_EQ(board.score - scoreBefore,
                      weight(after) - weight(before) - (spawned ? weight({{{spawned}}}) : 0));
            ASSERT_EQ(board.movingTiles.count, tiles(before));
            ASSERT_EQ(board.pendingAnimations, static_cast<std::int32_t>(tiles(before)));
            if (overBefore) {
                ASSERT_TRUE(board.gameOver);
            } else if (board.gameOver) {
                ASSERT_EQ(tiles(after), 16u);
            }

            if (played % 97 == 0) {
                ++drawnSlides;
                int frames = 0;
                while (board.state == BoardState::Animating) {
                    board.draw(0.02);
                    test::calls().clear();
                    ASSERT_GE(board.pendingAnimations, 0);
                    ASSERT_EQ(board.state == BoardState::Idle, board.pendingAnimations == 0);
                    ASSERT_LT(++frames, 10);
                }
                ASSERT_EQ(board.movingTiles.count, 0u);
            } else {
                board.state = BoardState::Idle;
                board.movingTiles.clear();
            }
            if (board.gameOver) break;
        }
    }
    EXPECT_GT(matches, 100);
    EXPECT_GT(drawnSlides, 1000);
}

} // namespace
} // namespace tandrel
