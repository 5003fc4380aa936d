#include "game/net/sessionthread.hpp"

#include <random>

namespace tandrel::net {

namespace {

// Connections that have not greeted yet. One more makes room by cutting off
// the one that has waited longest, so that silent peers never keep a player
// out.
constexpr std::size_t maxWaiting = 8;

class HostSession final : public SessionThread {
public:
    HostSession(std::uint16_t port, Config config);
    ~HostSession() override { stop(); }

    std::uint16_t port() const override { return port_; }

private:
    void run() override;
    void sendOutgoing(Clock::time_point now);
    void checkClocks(Clock::time_point now);
    Clock::time_point nextDeadline(Clock::time_point now) const;

    void accept(const Socket& listener, Clock::time_point now);
    std::optional<std::string> greet(Link& link, const Message& message) override;
    // Closes the connection, telling the game why in one line when it was
    // more than a connection that closed before greeting.
    void finish(Link& link, const std::string& why);
    void dropClosed() {
        std::erase_if(links_, [](const Link& link) { return !link.socket.valid(); });
    }
    Link* player();

    std::array<Socket, 2> listeners_;
    std::uint16_t port_ = 0;
    // The player, once greeted, and those not greeted yet, oldest first.
    std::vector<Link> links_;
    std::vector<Outgoing> outgoing_;
    std::vector<Watch> watches_;
    std::random_device deals_;
};

HostSession::HostSession(std::uint16_t port, Config config) : SessionThread(Link::Role::Host, std::move(config)) {
    std::string errors[2];
    listeners_[0] = listenOn(Family::V4, port, errors[0]);
    // On the same port as IPv4 when the system chose it.
    if (listeners_[0].valid()) port = localPort(listeners_[0]);
    listeners_[1] = listenOn(Family::V6, port, errors[1]);
    if (!listeners_[0].valid() && !listeners_[1].valid())
        throw NetError("Cannot listen on port " + std::to_string(port) + ": " + errors[0]);
    port_ = localPort(listeners_[listeners_[0].valid() ? 0 : 1]);
    links_.reserve(maxWaiting + 2);
    start();
}

void HostSession::run() {
    report(makeEvent(Event::Kind::Listening));
    while (!stopping()) {
        Clock::time_point now = Clock::now();
        sendOutgoing(now);
        checkClocks(now);
        for (Link& link : links_)
            if (auto broke = link.flush()) finish(link, *broke);
        dropClosed();

        watches_.clear();
        for (const Socket& listener : listeners_)
            if (listener.valid()) watches_.emplace_back(listener.handle(), true, false);
        const std::size_t firstLink = watches_.size();
        const bool reading = readLimit() > 0;
        for (const Link& link : links_) watches_.emplace_back(link.socket.handle(), reading, link.wantsWrite());
        wait(watches_, nextDeadline(now));

        now = Clock::now();
        for (std::size_t i = 0; i < links_.size(); ++i)
            if (auto ended = readFrom(links_[i], watches_[firstLink + i].readable, now)) finish(links_[i], *ended);
        dropClosed();
        for (std::size_t i = 0; i < firstLink; ++i)
            if (watches_[i].readable) accept(listeners_[listeners_[0].handle() == watches_[i].handle ? 0 : 1], now);
    }
}

void HostSession::sendOutgoing(Clock::time_point now) {
    takeOutgoing(outgoing_);
    Link* link = player();
    if (link == nullptr) return;
    for (const Outgoing& out : outgoing_) {
        Message message(out.type);
        message.direction = out.direction;
        if (out.type == MessageType::Deal) {
            message.deal = {deals_(), {deals_(), deals_()}};
            link->dealt = true;
            Event dealt = makeEvent(Event::Kind::Dealt);
            dealt.deal = message.deal;
            report(std::move(dealt));
        }
        // The host's own Enter deals; moves wait for a deal, so a match's
        // leftovers never reach the next player.
        if (out.type == MessageType::Again || !link->dealt) continue;
        if (!link->send(message, now)) return finish(*link, "stopped reading");
    }
}

void HostSession::checkClocks(Clock::time_point now) {
    for (Link& link : links_)
        if (auto overdue = link.checkClocks(now, config_)) finish(link, *overdue);
}

Clock::time_point HostSession::nextDeadline(Clock::time_point now) const {
    Clock::time_point next = now + std::chrono::seconds(1);
    for (const Link& link : links_) next = std::min(next, link.nextDeadline(config_));
    return next;
}

void HostSession::accept(const Socket& listener, Clock::time_point now) {
    // Bounded, so that a storm of connections cannot hold the thread.
    for (int i = 0; i < 16; ++i) {
        std::string peer;
        Socket socket = acceptFrom(listener, peer);
        if (!socket.valid()) return;
        const std::size_t waiting = links_.size() - (player() != nullptr ? 1 : 0);
        if (waiting >= maxWaiting) {
            for (Link& link : links_) {
                if (link.greeted || !link.socket.valid()) continue;
                finish(link, "was cut off to make room for newer connections");
                break;
            }
            dropClosed();
        }
        links_.emplace_back(std::move(socket), std::move(peer), now);
    }
}

std::optional<std::string> HostSession::greet(Link& link, const Message& message) {
    if (message.type != MessageType::Hello) return "sent a message before greeting";
    const Clock::time_point now = Clock::now();
    if (message.version() != config_.version || message.protocol != protocolVersion) {
        // Its own Hello first, so that the joiner can name both versions.
        link.send(Message::hello(config_.version), now);
        return "runs Tandrel " + std::string(message.version()) + ", this is Tandrel " + config_.version;
    }
    if (player() != nullptr) {
        link.send(Message(MessageType::Busy), now);
        return "tried to join while a match was running";
    }
    link.send(Message::hello(config_.version), now);
    link.greeted = true;
    report(makeEvent(Event::Kind::Joined, std::string(message.version())));
    return std::nullopt;
}

void HostSession::finish(Link& link, const std::string& why) {
    link.flush();
    if (link.greeted)
        report(makeEvent(Event::Kind::Left, "The other player " + why + "."));
    else if (!link.lost)
        report(makeEvent(Event::Kind::Rejected, "Turned away " + link.peer + ": it " + why + "."));
    link.socket.close();
}

Link* HostSession::player() {
    for (Link& link : links_)
        if (link.greeted && link.socket.valid()) return &link;
    return nullptr;
}

} // namespace

std::unique_ptr<Session> Session::host(std::uint16_t port, Config config) {
    return std::make_unique<HostSession>(port, std::move(config));
}

} // namespace tandrel::net
