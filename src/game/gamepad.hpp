#pragma once

#include "framework/core/event.hpp"
#include "game/boardarray.hpp"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace tandrel {

// A move asked for by a gamepad: board 0 is the left one.
struct PadMove {
    std::size_t board;
    Direction dir;
    bool operator==(const PadMove&) const = default;
};

// The left stick's one move per push: past half its travel it moves once, and
// it must come back within a quarter of the centre before it moves again, so a
// held stick never repeats and a slightly off-centre one never moves.
class StickLatch {
public:
    static constexpr std::int32_t pushed = 16384;
    static constexpr std::int32_t released = 8192;

    // x and y as SDL reports axes 0 and 1: y grows downwards.
    std::optional<Direction> update(std::int16_t x, std::int16_t y);

private:
    bool latched = false;
};

// The game's reading of gamepads: the first pad (SDL's device 0) steers the
// left board, the second the right one, with the d-pad or the left stick.
// The d-pad too moves once per press: rolled on to another direction, through
// a diagonal or not, it moves again only after coming back to the centre.
class Gamepads {
public:
    static constexpr std::size_t padCount = 2;

    // For the event the manager is dispatching.
    std::optional<PadMove> axisMotion(const EventManager& events);
    std::optional<PadMove> hatMotion(const EventManager& events);

private:
    std::array<StickLatch, padCount> sticks;
    std::array<bool, padCount> padLatched{};
};

} // namespace tandrel
