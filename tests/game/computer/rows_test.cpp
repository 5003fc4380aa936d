#include <gtest/gtest.h>

#include "game/board.hpp"
#include "game/computer/rows.hpp"

#include "fixtures/board_fixture.hpp"

#include <cstdint>
#include <random>

namespace tandrel::computer {
namespace {

// The game's board without its spawn, so that the move alone is compared.
class BareBoard : public Board {
public:
    using Board::Board;
    void addRandomTile() override {}
};

// Grids from sparse to full, with few distinct exponents in some so that equal
// neighbours, chains of them and merges of two 32768 all come up often.
BoardArray randomGrid(std::mt19937& random) {
    const std::uint32_t low = random() % 15 + 1;
    const std::uint32_t high = low + random() % (16 - low);
    const std::uint32_t emptyPercent = random() % 3 == 0 ? 0 : random() % 100;
    BoardArray grid;
    for (std::uint32_t x = 0; x < 4; ++x)
        for (std::uint32_t y = 0; y < 4; ++y)
            if (random() % 100 >= emptyPercent) grid.set(1u << (low + random() % (high - low + 1)), x, y);
    return grid;
}

TEST(Rows, MoveAsTheGameDoesOnRandomGrids) {
    test::RecordingFont large(27);
    test::RecordingFont small(16);
    BareBoard board(large, small);
    const RowTables& rows = rowTables();
    std::mt19937 random(18);
    for (std::uint32_t n = 0; n < 100000; ++n) {
        const BoardArray grid = randomGrid(random);
        for (const Direction dir : {Direction::Left, Direction::Right, Direction::Up, Direction::Down}) {
            board.grid = grid;
            board.score = 0;
            board.state = BoardState::Idle;
            board.move(dir);
            const Moved moved = rows.move(pack(grid), dir);
            // pack() sees a merged 65536 as a 32768, as the tables keep it.
            ASSERT_EQ(moved.grid, pack(board.grid)) << "grid " << n << " direction " << int(dir);
            ASSERT_EQ(moved.score, static_cast<std::uint32_t>(board.score)) << "grid " << n;
        }
    }
}

TEST(Rows, PackKeepsEveryTileThatFitsANibble) {
    std::mt19937 random(7);
    for (std::uint32_t n = 0; n < 1000; ++n) {
        const BoardArray grid = randomGrid(random);
        const BoardArray back = unpack(pack(grid));
        for (std::uint32_t x = 0; x < 4; ++x)
            for (std::uint32_t y = 0; y < 4; ++y) ASSERT_EQ(back(x, y), grid(x, y));
    }
}

} // namespace
} // namespace tandrel::computer
