#pragma once

#include "game/computer/engine.hpp"

#include <optional>

namespace tandrel {

// Who steers a board: a person when empty, otherwise the computer at a level.
using Player = std::optional<computer::Level>;

// The in-game choice in turn: a person, each level from the weakest up, and
// a person again.
inline Player nextPlayer(Player player) {
    if (!player) return computer::Level::Easy;
    if (*player == computer::Level::Expert) return std::nullopt;
    return static_cast<computer::Level>(static_cast<std::int32_t>(*player) + 1);
}

} // namespace tandrel
