#include "game/boardarray.hpp"

namespace tandrel {

namespace {
struct Walk {
    std::uint32_t start;
    int step;
};

Walk walk(bool reverse) { return reverse ? Walk{3, -1} : Walk{0, 1}; }

std::uint32_t place(Walk w, std::uint32_t i) {
    return static_cast<std::uint32_t>(static_cast<int>(w.start) + w.step * static_cast<int>(i));
}
} // namespace

CellLine BoardArray::row(std::uint32_t y, bool reverse) {
    const Walk w = walk(reverse);
    CellLine line;
    for (std::uint32_t i = 0; i < 4; ++i) line.cells[i] = &cells[place(w, i)][y];
    return line;
}

CellLine BoardArray::column(std::uint32_t x, bool reverse) {
    const Walk w = walk(reverse);
    CellLine line;
    for (std::uint32_t i = 0; i < 4; ++i) line.cells[i] = &cells[x][place(w, i)];
    return line;
}

CellLine BoardArray::line(std::uint32_t index, Direction dir) {
    switch (dir) {
    case Direction::Left: return row(index, false);
    case Direction::Right: return row(index, true);
    case Direction::Up: return column(index, false);
    case Direction::Down: break;
    }
    // Down; no other value is ever passed.
    return column(index, true);
}

void BoardArray::clear() {
    for (auto& column : cells)
        for (auto& cell : column) cell = 0;
}

} // namespace tandrel
