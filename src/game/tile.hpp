#pragma once

#include "support/math/vector.hpp"

#include <cstdint>

namespace tandrel {

// One drawable tile: a square that slides toward its target and draws itself
// in the current colour. The grid holds the game's truth; tiles only animate it.
struct Tile {
    // 0 stands for the background square of an empty cell.
    std::uint32_t value = 0;
    // Centre in window coordinates (origin lower left, y up).
    Vector2f position{};
    Vector2f target{};
    bool moving = false;
    // Owned by whoever counts arrivals; the tile itself never touches it.
    bool pending = true;

    Tile() = default;
    // A background square.
    explicit Tile(Vector2f position) : position(position) {}
    // A tile that stands still.
    Tile(std::uint32_t value, Vector2f position) : value(value), position(position) {}
    // A tile sliding from `from` to `to`.
    Tile(std::uint32_t value, Vector2f from, Vector2f to) : value(value), position(from), target(to), moving(true) {}

    // Advances toward `to` by at most `step`. Landing and stopping take separate
    // calls: the call that lands leaves `moving` set, the next one clears it.
    void moveTo(Vector2f to, float step);
    // Slides a moving, non-empty tile at 3300 pixels per second, then draws a
    // 90 x 90 square centred on the position.
    void draw(double dt);
};

} // namespace tandrel
