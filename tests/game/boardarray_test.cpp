#include "game/boardarray.hpp"

#include <gtest/gtest.h>

#include <type_traits>
#include <utility>
#include <vector>

namespace tandrel {
namespace {

static_assert(std::is_trivially_copyable_v<BoardArray> && std::is_standard_layout_v<BoardArray>);

using Cells = std::vector<std::pair<std::uint32_t, std::uint32_t>>;

// The (x, y) of each place of a line, found by address.
Cells coordinates(const BoardArray& grid, const CellLine& line) {
    Cells result;
    for (std::uint32_t place = 0; place < 4; ++place) {
        const auto offset = static_cast<std::uint32_t>(&line[place] - &grid.cells[0][0]);
        result.emplace_back(offset / 4, offset % 4);
    }
    return result;
}

TEST(BoardArray, StartsAndClearsToZero) {
    BoardArray grid;
    for (std::uint32_t x = 0; x < 4; ++x)
        for (std::uint32_t y = 0; y < 4; ++y) {
            EXPECT_EQ(grid(x, y), 0u);
            grid.set(x * 4 + y + 1, x, y);
        }
    grid.clear();
    for (std::uint32_t x = 0; x < 4; ++x)
        for (std::uint32_t y = 0; y < 4; ++y) EXPECT_EQ(grid(x, y), 0u);
}

TEST(BoardArray, CellIsElementYOfColumnX) {
    BoardArray grid;
    grid.set(8, 1, 2);
    EXPECT_EQ(grid(1, 2), 8u);
    EXPECT_EQ(grid(2, 1), 0u);
    EXPECT_EQ(grid.cells[1][2], 8u);
    EXPECT_EQ((&grid.cells[0][0])[4 * 1 + 2], 8u);
}

TEST(BoardArray, LinesRunFromTheEdgeTheTilesSlideTo) {
    BoardArray grid;
    EXPECT_EQ(coordinates(grid, grid.line(2, Direction::Left)), (Cells{{0, 2}, {1, 2}, {2, 2}, {3, 2}}));
    EXPECT_EQ(coordinates(grid, grid.line(0, Direction::Right)), (Cells{{3, 0}, {2, 0}, {1, 0}, {0, 0}}));
    EXPECT_EQ(coordinates(grid, grid.line(0, Direction::Up)), (Cells{{0, 0}, {0, 1}, {0, 2}, {0, 3}}));
    EXPECT_EQ(coordinates(grid, grid.line(1, Direction::Down)), (Cells{{1, 3}, {1, 2}, {1, 1}, {1, 0}}));

    grid.set(8, 1, 2);
    EXPECT_EQ(grid.line(2, Direction::Left)[1], 8u);
    EXPECT_EQ(grid.line(1, Direction::Down)[1], 8u);
    EXPECT_EQ(grid.line(2, Direction::Right)[2], 8u);
    EXPECT_EQ(grid.line(1, Direction::Up)[2], 8u);
}

TEST(BoardArray, WritesThroughALineChangeTheGrid) {
    BoardArray grid;
    const CellLine line = grid.line(3, Direction::Right);
    line[0] = 2;
    line[3] = 4;
    EXPECT_EQ(grid(3, 3), 2u);
    EXPECT_EQ(grid(0, 3), 4u);

    // A copy of the grid is a separate grid.
    BoardArray copy = grid;
    copy.line(3, Direction::Right)[0] = 16;
    EXPECT_EQ(grid(3, 3), 2u);
    EXPECT_EQ(copy(3, 3), 16u);
}

} // namespace
} // namespace tandrel
