#include "game/computerplayer.hpp"

#include <algorithm>

namespace tandrel {

namespace {

// Whether sliding toward `dir` moves or merges a tile: some tile has an
// empty cell or its equal on the side it slides to.
bool changes(BoardArray grid, Direction dir) {
    for (std::uint32_t i = 0; i < 4; ++i) {
        const CellLine line = grid.line(i, dir);
        for (std::uint32_t j = 1; j < 4; ++j)
            if (line[j] != 0 && (line[j - 1] == 0 || line[j - 1] == line[j])) return true;
    }
    return false;
}

// The engine sees a tile past 32768 as a 32768, so beside a real 32768 it may
// take a merge for a move. Its answer stands when it changes the board or
// when no move does (which on a full board ends the game); otherwise the
// first move that does is played.
Direction realMove(const BoardArray& grid, Direction answer) {
    if (changes(grid, answer)) return answer;
    for (const Direction dir : {Direction::Left, Direction::Right, Direction::Up, Direction::Down})
        if (changes(grid, dir)) return dir;
    return answer;
}

constexpr std::chrono::duration<double> pauseTime(ComputerPlayer::pause);

} // namespace

ComputerPlayer::ComputerPlayer(MoveWorker& worker, std::uint32_t slot, Board& board)
    : worker(worker), slot(slot), board(board) {}

void ComputerPlayer::steer(Player player) {
    steering = player;
    movedAt = std::chrono::steady_clock::now();
    if (!steering) return;
    worker.setLevel(slot, *steering);
    think();
}

void ComputerPlayer::think() {
    if (board.gameOver) return;
    // Board::move leaves its result in the grid at once, so the search runs
    // while the tiles still slide.
    worker.request(slot, computer::pack(board.grid));
}

void ComputerPlayer::update(bool hurry) {
    if (!steering || board.gameOver) return;
    if (hurry && board.state == BoardState::Animating) {
        // Nobody is left to follow the slides, and a whole game shown at the
        // tiles' speed would keep the result waiting for minutes: the slide
        // ends at once, as the owner ends one when it decides a match.
        board.state = BoardState::Idle;
        board.movingTiles.clear();
    }
    if (board.state != BoardState::Idle || (!hurry && pauseLeft() > 0)) return;
    const auto move = worker.answer(slot);
    if (!move) return;
    board.move(realMove(board.grid, *move));
    movedAt = std::chrono::steady_clock::now();
    think();
}

double ComputerPlayer::pauseLeft() const {
    if (!steering || board.gameOver) return 0;
    const std::chrono::duration<double> left = movedAt + pauseTime - std::chrono::steady_clock::now();
    return std::max(left.count(), 0.0);
}

} // namespace tandrel
