#include "game/net/session.hpp"
#include "game/net/protocol.hpp"

#include "fixtures/loopback.hpp"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

namespace tandrel::net {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
using Kind = Event::Kind;

const std::string version = "9.9.9-test";

Config quick(const std::string& programVersion = version) {
    Config config;
    config.version = programVersion;
    config.greeting = 800ms;
    config.silence = 800ms;
    config.ping = 200ms;
    config.connectDeadline = 2s;
    return config;
}

// The next event of `kind`, passing over moves; fails after three seconds.
Event expect(Session& session, Kind kind) {
    Event event;
    for (int i = 0; i < 1500; ++i) {
        if (!session.poll(event)) {
            std::this_thread::sleep_for(2ms);
        } else if (event.kind == kind) {
            return event;
        } else if (event.kind != Kind::Moved) {
            ADD_FAILURE() << "unexpected event " << static_cast<int>(event.kind) << ": " << event.text;
        }
    }
    ADD_FAILURE() << "no event " << static_cast<int>(kind);
    return {};
}

std::unique_ptr<Session> joined(Session& host, const std::string& address = "127.0.0.1") {
    auto player = Session::join({address, host.port()}, quick());
    EXPECT_EQ(expect(*player, Kind::Joined).text, version);
    expect(host, Kind::Joined);
    return player;
}

Bytes wire(const Message& message) {
    const Encoded e = encode(message);
    return {e.bytes.begin(), e.bytes.begin() + static_cast<std::ptrdiff_t>(e.size)};
}

// A peer written by hand, over a blocking socket to 127.0.0.1.
struct RawPeer {
    explicit RawPeer(std::uint16_t port) : fd(socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        EXPECT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        const timeval wait{2, 0};
        setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    }
    ~RawPeer() { close(fd); }
    void say(const Bytes& bytes) const {
        EXPECT_EQ(send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL), ssize_t(bytes.size()));
    }
    // Everything until the host closes, the first message decoded.
    MessageType heard() const {
        Bytes got(4096);
        std::size_t size = 0;
        for (ssize_t n = 1; n > 0 && size < got.size(); size += static_cast<std::size_t>(n))
            if ((n = recv(fd, got.data() + size, got.size() - size, 0)) < 0) break;
        std::span<const std::uint8_t> input(got.data(), size);
        Decoder decoder;
        Message message(MessageType(0));
        decoder.next(input, message);
        return message.type;
    }
    int fd;
};

bool haveIpv6Loopback() {
    const int fd = socket(AF_INET6, SOCK_STREAM, 0);
    sockaddr_in6 address{};
    address.sin6_family = AF_INET6;
    address.sin6_addr = in6addr_loopback;
    const bool ok = fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    if (fd >= 0) close(fd);
    return ok;
}

class NetSession : public testing::TestWithParam<std::string> {};

TEST_P(NetSession, AMatchPlaysAndTheHostTakesTheNextPlayer) {
    if (GetParam() == "::1" && !haveIpv6Loopback()) GTEST_SKIP() << "no IPv6 loopback";
    auto host = Session::host(0, quick());
    expect(*host, Kind::Listening);
    auto player = joined(*host, GetParam());

    host->deal();
    const Deal deal = expect(*host, Kind::Dealt).deal;
    EXPECT_EQ(expect(*player, Kind::Dealt).deal, deal);
    player->sendMove(Direction::Up);
    EXPECT_EQ(expect(*host, Kind::Moved).direction, Direction::Up);
    host->sendMove(Direction::Right);
    EXPECT_EQ(expect(*player, Kind::Moved).direction, Direction::Right);
    player->sendAgain();
    expect(*host, Kind::Again);

    const auto closing = std::chrono::steady_clock::now();
    player.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - closing, 500ms);
    EXPECT_EQ(expect(*host, Kind::Left).text, "The other player closed the connection.");
    EXPECT_LT(std::chrono::steady_clock::now() - closing, quick().silence);
    joined(*host, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Loopback, NetSession, testing::Values("127.0.0.1", "::1"));

// Each ends in its one line, and the host then plays with the next player.
TEST(NetSession, BadPeersAreCutOffAndTheHostGoesOn) {
    enum class Player { None, InMatch, JoinsMeanwhile };
    Message deal(MessageType::Deal);
    Bytes flood;
    for (int i = 0; i < 200; ++i) flood.insert(flood.end(), {4, 1, 2});
    const struct {
        const char* name;
        Player player;
        bool greets;
        bool dealt;
        Bytes says;
        Kind kind;
        std::string line;
        MessageType heard;
    } cases[] = {
        {"garbage",
         Player::None,
         false,
         false,
         {'G', 'E', 'T', ' ', '/'},
         Kind::Rejected,
         "Turned away 127.0.0.1: it sent a message of unknown type.",
         MessageType(0)},
        {"oversized",
         Player::None,
         false,
         false,
         {1, 200},
         Kind::Rejected,
         "Turned away 127.0.0.1: it sent a message of the wrong length.",
         MessageType(0)},
        {"wrong version", Player::None, false, false, wire(Message::hello("0.1.0")), Kind::Rejected,
         "Turned away 127.0.0.1: it runs Tandrel 0.1.0, this is Tandrel 9.9.9-test.", MessageType::Hello},
        {"second joiner", Player::InMatch, false, false, wire(Message::hello(version)), Kind::Rejected,
         "Turned away 127.0.0.1: it tried to join while a match was running.", MessageType::Busy},
        {"silent",
         Player::JoinsMeanwhile,
         false,
         false,
         {},
         Kind::Rejected,
         "Turned away 127.0.0.1: it said nothing for 1 s.",
         MessageType(0)},
        {"flood of moves", Player::None, true, true, flood, Kind::Left,
         "The other player sent moves faster than anyone can play.", MessageType::Hello},
        {"move before the deal",
         Player::None,
         true,
         false,
         {4, 1, 0},
         Kind::Left,
         "The other player sent a move before any deal.",
         MessageType::Hello},
        {"deal from the joiner", Player::None, true, true, wire(deal), Kind::Left,
         "The other player sent a deal, which only the host may send.", MessageType::Hello},
        {"gone quiet",
         Player::None,
         true,
         true,
         {},
         Kind::Left,
         "The other player went silent for 1 s.",
         MessageType::Hello},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto host = Session::host(0, quick());
        expect(*host, Kind::Listening);
        std::unique_ptr<Session> player;
        if (c.player == Player::InMatch) player = joined(*host);
        RawPeer peer(host->port());
        if (c.greets) {
            peer.say(wire(Message::hello(version)));
            expect(*host, Kind::Joined);
        }
        if (c.dealt) {
            host->deal();
            expect(*host, Kind::Dealt);
        }
        peer.say(c.says);
        if (c.player == Player::JoinsMeanwhile) player = joined(*host);
        EXPECT_EQ(expect(*host, c.kind).text, c.line);
        if (c.heard != MessageType(0)) {
            EXPECT_EQ(peer.heard(), c.heard);
        }
        if (player) {
            host->deal();
            expect(*host, Kind::Dealt);
            expect(*player, Kind::Dealt);
            player.reset();
            expect(*host, Kind::Left);
        }
        joined(*host);
    }
}

// More silent connections than the host keeps waiting, with a long greeting
// time: the oldest make room, and a player still gets in at once.
TEST(NetSession, ACrowdOfSilentPeersNeverKeepsAPlayerOut) {
    Config patient = quick();
    patient.greeting = 30s;
    auto host = Session::host(0, patient);
    std::vector<std::unique_ptr<RawPeer>> crowd;
    for (int i = 0; i < 12; ++i) crowd.push_back(std::make_unique<RawPeer>(host->port()));
    auto player = Session::join({"127.0.0.1", host->port()}, quick());
    expect(*player, Kind::Joined);
}

TEST(NetSession, JoiningFailsInOneLine) {
    enum class Other { Closed, OtherVersion, Busy, Silent };
    const struct {
        Other other;
        std::string line;
    } cases[] = {
        {Other::Closed, "the connection was refused."},
        {Other::OtherVersion, "it runs Tandrel 1.0.0, this is Tandrel 9.9.9-test."},
        {Other::Busy, "it is busy with another match."},
        {Other::Silent, "it said nothing for 1 s."},
    };
    for (const auto& c : cases) {
        // A bound socket: refuses connections until it listens, and then
        // accepts them without a word.
        std::uint16_t port = 0;
        const int fd = test::boundOnLoopback(port);
        ASSERT_NE(port, 0);
        if (c.other == Other::Silent) listen(fd, 1);

        std::unique_ptr<Session> host;
        std::unique_ptr<Session> player;
        if (c.other == Other::OtherVersion || c.other == Other::Busy) {
            host = Session::host(0, quick(c.other == Other::Busy ? version : "1.0.0"));
            expect(*host, Kind::Listening);
            port = host->port();
        }
        if (c.other == Other::Busy) player = joined(*host);
        auto joiner = Session::join({"127.0.0.1", port}, quick());
        EXPECT_EQ(expect(*joiner, Kind::Failed).text,
                  "Could not join 127.0.0.1:" + std::to_string(port) + ": " + c.line);
        if (c.other == Other::OtherVersion) {
            EXPECT_EQ(expect(*host, Kind::Rejected).text,
                      "Turned away 127.0.0.1: it runs Tandrel 9.9.9-test, this is Tandrel 1.0.0.");
        }
        close(fd);
    }
}

} // namespace
} // namespace tandrel::net
