#pragma once

// The messages two Tandrel programs exchange over one TCP connection: a type
// byte, a payload length byte and a payload whose shape the type fixes.

#include "game/net/session.hpp"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace tandrel::net {

// Raised whenever the messages change meaning, so that programs that would
// misread each other say so at the greeting.
inline constexpr std::uint8_t protocolVersion = 1;
inline constexpr std::size_t maxVersionLength = 32;
inline constexpr std::size_t maxPayload = 64;
inline constexpr std::size_t maxMessage = 2 + maxPayload;

enum class MessageType : std::uint8_t { Hello = 1, Busy, Deal, Move, Again, Ping };

struct Message {
    explicit Message(MessageType type_ = MessageType::Ping) : type(type_) {}

    MessageType type;
    // Hello: the protocol and the program's version (printable ASCII).
    std::uint8_t protocol = protocolVersion;
    std::array<char, maxVersionLength> versionBytes{};
    std::uint8_t versionLength = 0;
    // Deal.
    Deal deal;
    // Move.
    Direction direction = Direction::Left;

    std::string_view version() const { return {versionBytes.data(), versionLength}; }
    // A Hello carrying `version`, cut to its first maxVersionLength bytes.
    static Message hello(std::string_view version);
};

struct Encoded {
    std::array<std::uint8_t, maxMessage> bytes{};
    std::size_t size = 0;
};

Encoded encode(const Message& message);

// Assembles messages from whatever the socket gives, in a buffer of its own
// of one message's size: nothing the peer says decides what is allocated.
class Decoder {
public:
    enum class Status { NeedMore, Complete, Malformed };

    // Consumes bytes from the front of `input` until a message is complete or
    // the input runs out. After Malformed the connection must be dropped;
    // error() says what was wrong.
    Status next(std::span<const std::uint8_t>& input, Message& message);
    // What made the input malformed, phrased to follow "sent ".
    std::string_view error() const { return error_; }

private:
    Status fail(std::string_view why);
    Status finish(Message& message);

    std::array<std::uint8_t, maxMessage> buffer_{};
    std::size_t have_ = 0;
    std::string_view error_;
};

} // namespace tandrel::net
