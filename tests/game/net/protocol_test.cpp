#include "game/net/protocol.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tandrel::net {
namespace {

using Bytes = std::vector<std::uint8_t>;

Decoder::Status decode(Decoder& decoder, const Bytes& bytes, Message& message) {
    std::span<const std::uint8_t> input(bytes);
    return decoder.next(input, message);
}

TEST(NetProtocol, MessagesSurviveTheWireEvenAByteAtATime) {
    Message deal(MessageType::Deal);
    deal.deal = {0x01020304u, {0xfffffffeu, 7}};
    Message move(MessageType::Move);
    move.direction = Direction::Down;
    for (const Message& sent : {Message::hello("0.3.0"), Message::hello(std::string(40, 'v')), deal, move,
                                Message(MessageType::Busy), Message(MessageType::Again), Message(MessageType::Ping)}) {
        const Encoded wire = encode(sent);
        Decoder decoder;
        Message got;
        for (std::size_t i = 0; i + 1 < wire.size; ++i)
            ASSERT_EQ(decode(decoder, Bytes{wire.bytes[i]}, got), Decoder::Status::NeedMore);
        ASSERT_EQ(decode(decoder, Bytes{wire.bytes[wire.size - 1]}, got), Decoder::Status::Complete);
        EXPECT_EQ(got.type, sent.type);
        EXPECT_EQ(got.version(), sent.version());
        EXPECT_EQ(got.deal, sent.deal);
        EXPECT_EQ(got.direction, sent.direction);
    }
    // Big-endian on the wire, whatever the machine.
    const Encoded wire = encode(deal);
    EXPECT_EQ(Bytes(wire.bytes.begin(), wire.bytes.begin() + 6), (Bytes{3, 12, 1, 2, 3, 4}));
}

TEST(NetProtocol, MalformedInputIsNamed) {
    const struct {
        Bytes bytes;
        std::string error;
    } cases[] = {
        {{0, 0}, "a message of unknown type"},
        {{'G', 'E', 'T', ' '}, "a message of unknown type"},
        {{1, 200}, "a message of the wrong length"},
        {{1, 4, 'T', 'N', 'D', 'R'}, "a message of the wrong length"},
        {{4, 2, 0, 0}, "a message of the wrong length"},
        {{2, 1, 0}, "a message of the wrong length"},
        {{3, 11}, "a message of the wrong length"},
        {{1, 5, 'H', 'T', 'T', 'P', 1}, "a greeting that is not Tandrel's"},
        {{1, 7, 'T', 'N', 'D', 'R', 1, '0', '\n'}, "a version that is not printable"},
        {{4, 1, 4}, "a move in no direction"},
    };
    for (const auto& c : cases) {
        Decoder decoder;
        Message message;
        EXPECT_EQ(decode(decoder, c.bytes, message), Decoder::Status::Malformed) << c.error;
        EXPECT_EQ(decoder.error(), c.error);
    }
}

TEST(NetAddress, JoinTargetsAndPorts) {
    const struct {
        std::string text;
        std::optional<JoinTarget> target;
    } cases[] = {
        {"example.org", JoinTarget{"example.org", defaultPort}},
        {"127.0.0.2:3000", JoinTarget{"127.0.0.2", 3000}},
        {"[::1]", JoinTarget{"::1", defaultPort}},
        {"[fe80::1%eth0]:65535", JoinTarget{"fe80::1%eth0", 65535}},
        {"", std::nullopt},
        {":3000", std::nullopt},
        {"host:", std::nullopt},
        {"host:0", std::nullopt},
        {"host:65536", std::nullopt},
        {"host:12ab", std::nullopt},
        {"::1:3000", std::nullopt},
        {"[::1", std::nullopt},
        {"[::1]3000", std::nullopt},
        {"[example.org]", std::nullopt},
        {"my host", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(parseJoinTarget(c.text), c.target) << c.text;
    EXPECT_EQ(parsePort("20480"), 20480);
    EXPECT_EQ(parsePort("+1"), std::nullopt);
    EXPECT_FALSE(localAddresses().empty());
}

} // namespace
} // namespace tandrel::net
