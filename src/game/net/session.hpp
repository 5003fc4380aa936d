#pragma once

#include "game/boardarray.hpp"

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tandrel::net {

// The port a host listens on unless told otherwise; --help names it.
inline constexpr std::uint16_t defaultPort = 20480;

// Where to join: a name, an IPv4 address or an IPv6 address (without its
// brackets), and a port.
struct JoinTarget {
    std::string host;
    std::uint16_t port = defaultPort;
    bool operator==(const JoinTarget&) const = default;
};

// "HOST", "HOST:PORT", "[V6]" or "[V6]:PORT"; empty when malformed (an empty
// host, a bad port, an unbracketed IPv6 address with a port, ...).
std::optional<JoinTarget> parseJoinTarget(std::string_view text);
// The target as a person types it: "HOST:PORT", an IPv6 address bracketed.
std::string joinText(const JoinTarget& target);
// A decimal port from 1 to 65535; empty otherwise.
std::optional<std::uint16_t> parsePort(std::string_view text);
// This machine's own addresses, to show a host's friend what to type:
// IPv4 first, then IPv6 (bracketed), loopback only when there is nothing else.
std::vector<std::string> localAddresses();

// What the host deals for one match: the seeds of each board's own
// generator (Mt19937::fromSeed), the host's board first.
struct Deal {
    std::uint32_t match = 0;
    std::array<std::uint32_t, 2> seeds{};
    bool operator==(const Deal&) const = default;
};

// What the network thread hands the game, in the order it happened.
struct Event {
    enum class Kind {
        // The host listens; `text` is unused.
        Listening,
        // The other program greeted with this version: a match can begin.
        Joined,
        // A match begins (on both sides; the host's own deal() reports it too).
        Dealt,
        // The other person moved their board.
        Moved,
        // The other person pressed Enter on a decided match (to the host).
        Again,
        // The other side left, was cut off or broke the rules; `text` says
        // which. A host listens again at once; a joiner's session is over.
        Left,
        // Joining failed (refused, unreachable within the deadline, no such
        // name, a version mismatch); `text` says which. The session is over.
        Failed,
        // The host cut off a would-be player before any match (garbage, a
        // wrong version, busy with a match, silent); `text` is the line to
        // show. The host goes on listening, and a running match goes on.
        Rejected,
    };
    Kind kind = Kind::Listening;
    Direction direction = Direction::Left;
    Deal deal;
    // One line for the screen and stderr, in English.
    std::string text;
};

struct Config {
    // The program's version, sent in the greeting: both sides must agree.
    std::string version;
    // Called from the network thread whenever an event is queued.
    std::function<void()> wake;
    // A peer that has not greeted within this is cut off.
    std::chrono::milliseconds greeting{10000};
    // A peer from whom nothing arrives for this long has gone.
    std::chrono::milliseconds silence{4000};
    // How often each side shows it is there when nothing else is sent.
    std::chrono::milliseconds ping{1000};
    // Name look-up and connecting together.
    std::chrono::milliseconds connectDeadline{10000};
};

// One side of a network match, running on a thread of its own: nothing here
// blocks the caller. Destroying it closes every socket and joins the thread.
class Session {
public:
    // Listens on `port` on IPv4 and IPv6; throws NetError when neither can.
    static std::unique_ptr<Session> host(std::uint16_t port, Config config);
    // Looks up, connects and greets on the network thread; the outcome comes
    // as Joined or Failed.
    static std::unique_ptr<Session> join(const JoinTarget& target, Config config);
    virtual ~Session() = default;

    // The next event, if any; from the game's thread, allocation-free while
    // events carry no text.
    virtual bool poll(Event& event) = 0;
    // This side's person moved their board.
    virtual void sendMove(Direction direction) = 0;
    // The joiner's Enter on a decided match: the host deals the next.
    virtual void sendAgain() = 0;
    // The host only, with a player joined: deals a match to both and reports
    // it as Dealt.
    virtual void deal() = 0;
    // The port the host listens on (the one asked for, or the system's when
    // asked for 0, as tests do).
    virtual std::uint16_t port() const = 0;
};

struct NetError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

} // namespace tandrel::net
