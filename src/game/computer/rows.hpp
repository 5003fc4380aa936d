#pragma once

#include "game/computer/engine.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>

namespace tandrel::computer {

// One row of a packed grid, cell x in nibble x.
using Row = std::uint16_t;

// What a move makes of a grid, and the points its merges score.
struct Moved {
    Packed grid;
    std::uint32_t score;
};

// Swaps rows and columns, so that a column move becomes a row move.
inline Packed transpose(Packed grid) {
    const Packed a = (grid & 0xF0F00F0FF0F00F0FULL) | ((grid & 0x0000F0F00000F0F0ULL) << 12) |
                     ((grid & 0x0F0F00000F0F0000ULL) >> 12);
    return (a & 0xFF00FF0000FF00FFULL) | ((a & 0x00FF00FF00000000ULL) >> 24) | ((a & 0x00000000FF00FF00ULL) << 24);
}

inline Row rowOf(Packed grid, std::uint32_t y) { return static_cast<Row>(grid >> (16 * y)); }

inline std::uint32_t emptyCells(Packed grid) {
    // Folds each nibble to one bit that is set when the nibble is not zero.
    grid |= grid >> 2;
    grid |= grid >> 1;
    grid &= 0x1111111111111111ULL;
    return 16 - static_cast<std::uint32_t>(std::popcount(grid));
}

inline std::uint32_t largestExponent(Packed grid) {
    std::uint32_t largest = 0;
    for (; grid != 0; grid >>= 4) largest = std::max(largest, static_cast<std::uint32_t>(grid & 0xF));
    return largest;
}

inline std::uint32_t distinctTiles(Packed grid) {
    std::uint32_t seen = 0;
    for (; grid != 0; grid >>= 4) seen |= 1u << (grid & 0xF);
    return static_cast<std::uint32_t>(std::popcount(seen & ~1u));
}

// Every row's slide toward either end, with the points it scores, worked out
// once for all 65 536 rows, so a move is eight lookups.
//
// Two 32768 tiles merge into a 65536, which a nibble cannot hold: the merged
// cell stays at 15 (32768) while the move still counts as a change and still
// scores 65536. Every grid whose tiles fit a nibble is thus moved as the game
// moves it except for that one cell's value, so the engine never mistakes the
// merge for a move that changes nothing.
struct RowTables {
    RowTables();

    std::array<Row, 65536> left, right;
    std::array<std::uint32_t, 65536> leftScore, rightScore;

    Moved move(Packed grid, Direction dir) const {
        const bool columns = dir == Direction::Up || dir == Direction::Down;
        const bool toLow = dir == Direction::Left || dir == Direction::Up;
        const Packed lines = columns ? transpose(grid) : grid;
        const auto& result = toLow ? left : right;
        const auto& points = toLow ? leftScore : rightScore;
        Packed out = 0;
        std::uint32_t score = 0;
        for (std::uint32_t i = 0; i < 4; ++i) {
            const Row r = rowOf(lines, i);
            out |= Packed{result[r]} << (16 * i);
            score += points[r];
        }
        return {columns ? transpose(out) : out, score};
    }
};

// Built on first use, shared by every engine.
const RowTables& rowTables();

} // namespace tandrel::computer
