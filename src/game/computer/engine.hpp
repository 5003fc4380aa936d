#pragma once

#include "game/boardarray.hpp"

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

namespace tandrel::computer {

// How strongly the computer plays, from beatable by a beginner to stronger
// than any person.
enum class Level : std::int32_t { Easy = 0, Normal = 1, Hard = 2, Expert = 3 };

// "easy", "normal", "hard", "expert": the names the command line takes.
const char* levelName(Level level);
std::optional<Level> parseLevel(std::string_view name);

// A grid packed four bits a cell, each the exponent of the tile's value (0 an
// empty cell, 1 a 2, 15 a 32768). Cell (x, y) is nibble 4 * y + x: rows from
// the top, each ordered by x.
using Packed = std::uint64_t;

Packed pack(const BoardArray& grid);
BoardArray unpack(Packed packed);

// The computer player: chooses a move for a grid by the game's own rules. It
// knows nothing of the window, the fonts or the localisation, and one engine
// may be used by one thread at a time.
class Engine {
public:
    // The seed drives the weaker levels' deliberate mistakes, so a game can be
    // replayed.
    explicit Engine(Level level, std::uint64_t seed = 0);
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    Level level() const;
    // A move that changes the grid whenever one does; on a grid no move
    // changes, any move (which on a full grid ends the game).
    Direction chooseMove(Packed grid);
    // Positions evaluated since the engine was made, for measuring its speed.
    std::uint64_t positionsSearched() const;
    // Safe from any thread: a search in progress ends at once, and every
    // later one looks no further than each move's result, for an engine whose
    // answers nobody waits for any more.
    void stop();

private:
    struct Search;
    std::unique_ptr<Search> search;
};

} // namespace tandrel::computer
