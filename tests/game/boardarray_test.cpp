#include "game/boardarray.hpp"

#include <gtest/gtest.h>

#include <type_traits>
#include <utility>
#include <vector>

namespace tandrel {
namespace {

static_assert(std::is_trivially_copyable_v<BoardArray> && std::is_standard_layout_v<BoardArray>);

using Cells = std::vector<std::pair<std::uint32_t, std::uint32_t>>;

// The (x, y) of each place of a line, found from its storage offset 4x + y.
Cells coordinates(const BoardArray& grid, const CellLine& line) {
    Cells result;
    for (std::uint32_t place = 0; place < 4; ++place) {
        const auto offset = static_cast<std::uint32_t>(&line[place] - &grid.cells[0][0]);
        result.emplace_back(offset / 4, offset % 4);
    }
    return result;
}

TEST(BoardArray, CellWriteTakesTheValueFirstAndClearEmptiesAll) {
    BoardArray grid;
    grid.set(8, 1, 2);
    EXPECT_EQ(grid(1, 2), 8u);
    EXPECT_EQ(grid(2, 1), 0u);
    EXPECT_EQ((&grid.cells[0][0])[4 * 1 + 2], 8u);
    grid.clear();
    EXPECT_EQ(grid(1, 2), 0u);
}

TEST(BoardArray, LinesRunFromTheEdgeTheTilesSlideTo) {
    BoardArray grid;
    EXPECT_EQ(coordinates(grid, grid.line(2, Direction::Left)), (Cells{{0, 2}, {1, 2}, {2, 2}, {3, 2}}));
    EXPECT_EQ(coordinates(grid, grid.line(0, Direction::Right)), (Cells{{3, 0}, {2, 0}, {1, 0}, {0, 0}}));
    EXPECT_EQ(coordinates(grid, grid.line(0, Direction::Up)), (Cells{{0, 0}, {0, 1}, {0, 2}, {0, 3}}));
    EXPECT_EQ(coordinates(grid, grid.line(1, Direction::Down)), (Cells{{1, 3}, {1, 2}, {1, 1}, {1, 0}}));
}

TEST(BoardArray, WritesThroughALineChangeTheGrid) {
    BoardArray grid;
    const CellLine line = grid.line(3, Direction::Right);
    line[0] = 2;
    line[3] = 4;
    EXPECT_EQ(grid(3, 3), 2u);
    EXPECT_EQ(grid(0, 3), 4u);
}

} // namespace
} // namespace tandrel
