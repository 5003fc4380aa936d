#pragma once

// The game's spawn rule on a packed grid, for the programs that play the
// computer player's games outside the game.

#include "game/computer/rows.hpp"

#include <cstdint>
#include <random>

namespace tandrel::bench {

// A 2 nine times in ten, otherwise a 4, on an empty cell chosen uniformly.
inline computer::Packed spawn(computer::Packed grid, std::mt19937_64& random) {
    std::uint32_t place = static_cast<std::uint32_t>(random() % computer::emptyCells(grid));
    const computer::Packed exponent = random() % 10 == 0 ? 2 : 1;
    for (std::uint32_t cell = 0;; ++cell)
        if (((grid >> (4 * cell)) & 0xF) == 0 && place-- == 0) return grid | exponent << (4 * cell);
}

} // namespace tandrel::bench
