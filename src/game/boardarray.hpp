#pragma once

#include <array>
#include <cstdint>

namespace tandrel {

// The edge toward which a move slides the tiles.
enum class Direction : std::int32_t { Left = 0, Right = 1, Up = 2, Down = 3 };

// Four cells of one row or column, addressed 0 to 3 in walk order; writes go
// straight into the grid the line was taken from.
struct CellLine {
    std::array<std::uint32_t*, 4> cells;

    std::uint32_t& operator[](std::uint32_t place) const { return *cells[place]; }
};

// The 4 x 4 grid of tile values; 0 is an empty cell. x is the column from the
// left, y the row from the top, and all coordinates are 0 to 3.
struct BoardArray {
    // Column-major: cells[x][y].
    std::uint32_t cells[4][4]{};

    std::uint32_t operator()(std::uint32_t x, std::uint32_t y) const { return cells[x][y]; }
    void set(std::uint32_t value, std::uint32_t x, std::uint32_t y) { cells[x][y] = value; }

    // Row y ordered by x, from the right when reversed.
    CellLine row(std::uint32_t y, bool reverse);
    // Column x ordered by y, from the bottom when reversed.
    CellLine column(std::uint32_t x, bool reverse);
    // Line `index` of a move toward `dir`: place 0 is the cell against the
    // edge the tiles slide to, so one merge routine serves every direction.
    CellLine line(std::uint32_t index, Direction dir);
    void clear();
};

} // namespace tandrel
