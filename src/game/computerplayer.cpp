#include "game/computerplayer.hpp"

namespace tandrel {

ComputerPlayer::ComputerPlayer(MoveWorker& worker, std::uint32_t slot, Board& board)
    : worker(worker), slot(slot), board(board) {}

void ComputerPlayer::steer(Player player) {
    steering = player;
    sinceMove = 0;
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

void ComputerPlayer::update(double dt, bool hurry) {
    if (!steering || board.gameOver) return;
    sinceMove += dt;
    if (hurry && board.state == BoardState::Animating) {
        // Nobody is left to follow the slides, and a whole game shown at the
        // tiles' speed would keep the result waiting for minutes: the slide
        // ends at once, as the owner ends one when it decides a match.
        board.state = BoardState::Idle;
        board.movingTiles.clear();
    }
    if (board.state != BoardState::Idle || (!hurry && sinceMove < pause)) return;
    const auto move = worker.answer(slot);
    if (!move) return;
    board.move(*move);
    sinceMove = 0;
    think();
}

} // namespace tandrel
