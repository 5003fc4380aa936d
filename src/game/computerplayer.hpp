#pragma once

#include "game/board.hpp"
#include "game/moveworker.hpp"
#include "game/player.hpp"

#include <chrono>
#include <cstdint>

namespace tandrel {

// Steers one board for the computer: asks the worker for a move as soon as
// the grid is known and plays the answer through Board::move, as a key
// press would, once the board has come to rest.
class ComputerPlayer {
public:
    // Seconds between two moves while a person watches: slow enough to
    // follow, and longer than any slide.
    static constexpr double pause = 0.25;

    // The board and the worker must outlive the player; `slot` is the
    // board's own in the worker.
    ComputerPlayer(MoveWorker& worker, std::uint32_t slot, Board& board);

    // Takes the board over at a level, or leaves it to a person when empty,
    // from the board's current grid on. An answer still being searched for
    // an earlier grid is never played.
    void steer(Player player);
    // Once a frame. Plays at most one move: after the pause once the board
    // rests, or as soon as the search answers when `hurry` says no person is
    // left to follow it (the slide is then cut short). Only moves that change
    // the board are played while one does.
    void update(bool hurry);
    // Seconds until the pause after its last move ends, while it steers a
    // board in play; 0 otherwise. The owner draws a frame then, when the
    // move may be played, although nothing else moves.
    double pauseLeft() const;

private:
    // A request is outstanding whenever the computer steers a board still in
    // play, so an answer is the move for the grid as it stands.
    void think();

    MoveWorker& worker;
    std::uint32_t slot;
    Board& board;
    Player steering;
    // Real time, not the sum of frame times: frames on demand stop while
    // the board rests.
    std::chrono::steady_clock::time_point movedAt;
};

} // namespace tandrel
