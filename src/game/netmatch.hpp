#pragma once

#include "game/board.hpp"
#include "game/net/session.hpp"
#include "game/random.hpp"

#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace tandrel {

// This program's side of a network match, between the session and the two
// boards: the host's board is the left one on both screens. The person here
// steers their own board, which slides at once; the other board follows the
// moves that arrive, one slide after another, none dropped. Each board draws
// from a generator seeded by the host's deal, so both programs compute both
// boards alike from nothing but the seeds and the moves.
class NetMatch {
public:
    enum class Role { Host, Join };
    // What a frame's events did.
    enum class Change { None, Dealt, Failed };
    // What the person should know, over the other board: a headline (empty
    // for nothing to show) and lines under it.
    using Notice = std::array<std::string, 4>;

    // `whom` names the host a joiner connects to; `report` takes each line
    // about the other side leaving, for stderr.
    NetMatch(std::unique_ptr<net::Session> session, Role role, const std::string& whom, Board& left, Board& right,
             std::function<void(const std::string&)> report);
    // The boards draw from the process's generator again.
    ~NetMatch();
    NetMatch(const NetMatch&) = delete;
    NetMatch& operator=(const NetMatch&) = delete;

    // The board this side's person steers: 0, the left, for the host.
    std::size_t own() const { return role == Role::Host ? 0 : 1; }
    // Whether a match has been dealt: until then nobody moves.
    bool started() const { return dealt; }
    void steer(Direction dir);
    // Enter, or a gamepad button; `decided` is whether the match is.
    void confirm(bool decided);
    // Takes what arrived, in order, as far as the other board's slides let.
    Change update(bool decided);
    // Whether an event waits for a slide or for the match to be decided: the
    // next frame takes it up.
    bool holding() const { return held; }
    const Notice& notice() const { return shown; }
    // Why joining failed, once update said so.
    const std::string& failure() const { return failedText; }

private:
    // Whether the event could be taken now.
    bool take(const net::Event& event, bool decided);
    void deal(const net::Deal& deal);
    void waitingNotice(const std::string& headline, const std::string& detail);
    Board& other() { return *boards[1 - own()]; }

    std::unique_ptr<net::Session> session;
    Role role;
    std::array<Board*, 2> boards;
    std::array<Mt19937, 2> generators;
    std::function<void(const std::string&)> report;
    net::Event event;
    bool held = false;
    bool dealt = false;
    // The host's: a player is there; the player is new, so the next match
    // needs no Enter; a deal is asked for and not yet reported; the joiner
    // pressed Enter.
    bool present = false;
    bool freshPlayer = false;
    bool dealing = false;
    bool againAsked = false;
    // The joiner's: Enter was sent for this match.
    bool againSent = false;
    bool failedNow = false;
    std::string failedText;
    Notice shown;
};

} // namespace tandrel
