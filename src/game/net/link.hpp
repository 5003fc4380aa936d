#pragma once

// One TCP connection to another Tandrel program, on the network thread: the
// bytes both ways, its clocks, and the rules of a match both sides keep.

#include "game/net/protocol.hpp"
#include "game/net/socket.hpp"

#include <chrono>
#include <optional>
#include <string>

namespace tandrel::net {

using Clock = std::chrono::steady_clock;

// A time for messages, in whole seconds rounded up.
std::string seconds(std::chrono::milliseconds time);

inline Event makeEvent(Event::Kind kind, std::string text = {}) {
    Event event;
    event.kind = kind;
    event.text = std::move(text);
    return event;
}

// A person's moves, with room to spare. Keys do not repeat, so each move is
// a key pressed, and even a frantic player taps no more than 10 to 15 keys a
// second for long: 20 a second are allowed for good, and a burst of 60 lets
// through what a few seconds of a stalled network hand over at once.
class MoveBudget {
public:
    bool take(Clock::time_point now);

private:
    static constexpr double burst = 60;
    static constexpr double perSecond = 20;
    double tokens_ = burst;
    std::optional<Clock::time_point> last_;
};

class Link {
public:
    enum class Role { Host, Joiner };

    Link(Socket socket, std::string peer, Clock::time_point now);

    // Queues a message for flush(); false when the peer has stopped reading
    // and the queue is full.
    bool send(const Message& message, Clock::time_point now);
    bool wantsWrite() const { return outSize_ > 0; }
    // Writes what the socket takes; why the connection broke, if it did.
    std::optional<std::string> flush();

    // Reads at most `limit` bytes and hands each whole message to `handle`
    // (a callable taking the Message, returning the reason to end the
    // connection, if any). Returns why the connection ended, if it did,
    // phrased to follow its subject: "closed the connection", "sent ...".
    template <typename Handle>
    std::optional<std::string> receive(std::size_t limit, Clock::time_point now, Handle&& handle);

    // The rules of a greeted connection: a Deal only from the host, Again
    // only from the joiner, moves only once a match is dealt, no second
    // greeting, and no more moves than a person makes. Sets `event` when the
    // message is one for the game; returns why to end the connection.
    std::optional<std::string> play(const Message& message, Role role, Clock::time_point now,
                                    std::optional<Event>& event);

    // Why the connection is over when the peer has not greeted within the
    // greeting time, or has said nothing for the silence time since; pings
    // when this side said nothing for the ping time.
    std::optional<std::string> checkClocks(Clock::time_point now, const Config& config);
    // When checkClocks has something to do next.
    Clock::time_point nextDeadline(const Config& config) const;
    // When the game is not taking events, the connection is not read, and
    // its silence does not count.
    void pauseHearing(Clock::time_point now) { lastHeard_ = now; }

    Socket socket;
    // The peer's numeric address, for the host's messages.
    std::string peer;
    Clock::time_point opened;
    bool greeted = false;
    bool dealt = false;
    // The peer closed the connection or it broke, rather than a rule being
    // broken.
    bool lost = false;

private:
    std::optional<std::string> readSome(std::size_t limit, std::span<std::uint8_t> buffer, std::size_t& got);

    Decoder decoder_;
    // A few hundred messages: more means the peer has not read for minutes.
    std::array<std::uint8_t, 2048> out_{};
    std::size_t outSize_ = 0;
    Clock::time_point lastHeard_;
    Clock::time_point lastSent_;
    MoveBudget budget_;
};

template <typename Handle>
std::optional<std::string> Link::receive(std::size_t limit, Clock::time_point now, Handle&& handle) {
    std::array<std::uint8_t, 512> buffer;
    std::size_t got = 0;
    if (auto ended = readSome(limit, buffer, got)) return ended;
    if (got > 0) lastHeard_ = now;
    std::span<const std::uint8_t> input(buffer.data(), got);
    Message message;
    while (!input.empty()) {
        switch (decoder_.next(input, message)) {
        case Decoder::Status::NeedMore: break;
        case Decoder::Status::Malformed: return "sent " + std::string(decoder_.error());
        case Decoder::Status::Complete:
            if (auto ended = handle(message)) return ended;
            break;
        }
    }
    return std::nullopt;
}

} // namespace tandrel::net
