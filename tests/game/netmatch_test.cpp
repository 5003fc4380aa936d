#include <gtest/gtest.h>

#include "game/netmatch.hpp"

#include "fixtures/board_fixture.hpp"

#include <chrono>
#include <thread>

namespace tandrel {
namespace {

using namespace std::chrono_literals;
using test::RecordingFont;
using test::Rows;
using test::rowsOf;
using test::setRows;

net::Config quick() {
    net::Config config;
    config.version = "9.9.9-test";
    config.silence = 2s;
    config.ping = 200ms;
    config.connectDeadline = 2s;
    return config;
}

// One program's side: its two boards and its match.
struct Side {
    RecordingFont large{27};
    RecordingFont small{16};
    Board left{large, small};
    Board right{large, small};
    std::unique_ptr<NetMatch> match;

    Side(std::unique_ptr<net::Session> session, NetMatch::Role role)
        : match(std::make_unique<NetMatch>(std::move(session), role, "127.0.0.1", left, right,
                                           [](const std::string&) {})) {}
    bool decided() const { return left.gameOver && right.gameOver; }
    // A frame: slides end at once, as if drawn to their end.
    NetMatch::Change frame() {
        for (Board* board : {&left, &right}) board->state = BoardState::Idle;
        return match->update(decided());
    }
};

// Frames on both sides until `done` holds; false after three seconds.
template <typename Done>
bool play(Side& host, Side& joiner, Done done) {
    for (int i = 0; i < 1500 && !done(); ++i) {
        host.frame();
        joiner.frame();
        std::this_thread::sleep_for(2ms);
    }
    return done();
}

void expectSameBoards(const Side& a, const Side& b) {
    EXPECT_EQ(rowsOf(a.left), rowsOf(b.left));
    EXPECT_EQ(rowsOf(a.right), rowsOf(b.right));
    EXPECT_EQ(a.left.score, b.left.score);
    EXPECT_EQ(a.right.score, b.right.score);
}

// Two programs in one: a match dealt, played to its end on both screens, and
// the joiner's Enter dealing the next one for both.
TEST(NetMatch, AMatchPlayedToItsEndAndTheJoinersEnterDealsTheNextForBoth) {
    auto hostSession = net::Session::host(0, quick());
    const std::uint16_t port = hostSession->port();
    Side host(std::move(hostSession), NetMatch::Role::Host);
    Side joiner(net::Session::join({"127.0.0.1", port}, quick()), NetMatch::Role::Join);
    ASSERT_TRUE(play(host, joiner, [&] { return host.match->started() && joiner.match->started(); }));
    expectSameBoards(host, joiner);

    // A frame after each key, as between a person's keys: a key that changes
    // nothing still starts a slide, and the keys after it would be lost.
    for (Direction dir : {Direction::Left, Direction::Up, Direction::Right}) {
        host.match->steer(dir);
        joiner.match->steer(dir);
        host.frame();
        joiner.frame();
    }
    ASSERT_TRUE(play(host, joiner,
                     [&] { return host.right.moves == joiner.right.moves && host.left.moves == joiner.left.moves; }));
    expectSameBoards(host, joiner);

    // No move is left on any board: the next key ends each person's game.
    const Rows stuck{{{2, 4, 2, 4}, {4, 2, 4, 2}, {2, 4, 2, 4}, {4, 2, 4, 2}}};
    for (Side* side : {&host, &joiner})
        for (Board* board : {&side->left, &side->right}) setRows(*board, stuck);
    host.match->steer(Direction::Down);
    joiner.match->steer(Direction::Down);
    ASSERT_TRUE(play(host, joiner, [&] { return host.decided() && joiner.decided(); }));

    joiner.match->confirm(true);
    ASSERT_TRUE(play(host, joiner, [&] { return !host.left.gameOver && !joiner.left.gameOver; }))
        << "the joiner's Enter dealt no next match";
    EXPECT_NE(rowsOf(host.left), stuck);
    expectSameBoards(host, joiner);
}

} // namespace
} // namespace tandrel
