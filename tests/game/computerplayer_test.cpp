#include <gtest/gtest.h>

#include "game/computerplayer.hpp"
#include "game/moveworker.hpp"

#include "fixtures/board_fixture.hpp"

#include <chrono>

namespace tandrel {
namespace {

using computer::Level;

// The engine holds a tile past 32768 as a 32768, so it sees the top row's
// first two tiles merge; on the real board only the two 1024s do.
TEST(ComputerPlayer, PlaysOnlyMovesThatChangeItsRealBoard) {
    for (const Level level : {Level::Easy, Level::Normal, Level::Hard, Level::Expert}) {
        SCOPED_TRACE(computer::levelName(level));
        test::BoardFixture fixture;
        Board& board = fixture.board;
        test::setRows(board,
                      {{{65536, 32768, 2, 4}, {8, 16, 32, 64}, {128, 256, 512, 1024}, {2048, 4096, 8192, 1024}}});
        MoveWorker worker;
        ComputerPlayer player(worker, 0, board);
        player.steer(level);
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (board.state == BoardState::Idle && std::chrono::steady_clock::now() < end) player.update(true);
        ASSERT_EQ(board.state, BoardState::Animating) << "no move in 5 s";
        EXPECT_FALSE(board.gameOver);
        EXPECT_EQ(board.score, 2048);
    }
}

} // namespace
} // namespace tandrel
