#pragma once

// What both kinds of session share: the network thread, the events it hands
// the game and what the game hands it to send.

#include "game/net/link.hpp"
#include "game/net/session.hpp"
#include "game/net/socket.hpp"

#include <atomic>
#include <mutex>
#include <thread>

namespace tandrel::net {

class SessionThread : public Session {
public:
    bool poll(Event& event) override;
    void sendMove(Direction direction) override;
    void sendAgain() override;
    void deal() override;
    std::uint16_t port() const override { return 0; }

protected:
    // What the game asked to send; the network thread drops what makes no
    // sense at the moment it takes it (a move to nobody, ...).
    struct Outgoing {
        MessageType type = MessageType::Move;
        Direction direction = Direction::Left;
    };

    SessionThread(Link::Role role, Config config);
    // Derived destructors call stop() first, while their members still live.
    ~SessionThread() override;

    void start();
    void stop();
    virtual void run() = 0;
    // A message from a link that has not greeted yet; why to end it, if so.
    virtual std::optional<std::string> greet(Link& link, const Message& message) = 0;

    // On the network thread.
    bool stopping() const { return stopping_.load(); }
    void report(Event event);
    // How many bytes a link may read now: each message is at least two bytes
    // and may become an event, and a few places stay free for the events
    // that end connections. 0 when the game is behind.
    std::size_t readLimit() const;
    // Hands what `link` has to say to greet() until it has greeted, then
    // to the game; why the connection ended, if it did.
    std::optional<std::string> readFrom(Link& link, bool readable, Clock::time_point now);
    void takeOutgoing(std::vector<Outgoing>& into);
    // Waits on the sockets and on the wake; clears the wake.
    void wait(std::vector<Watch>& watches, Clock::time_point until);

    const Link::Role role_;
    Config config_;
    std::shared_ptr<Wake> wake_ = std::make_shared<Wake>();

private:
    static constexpr std::size_t capacity = 256;
    static constexpr std::size_t reserved = 16;

    mutable std::mutex mutex_;
    std::array<Event, capacity> events_;
    std::size_t first_ = 0;
    std::size_t count_ = 0;
    std::vector<Outgoing> outgoing_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

} // namespace tandrel::net
