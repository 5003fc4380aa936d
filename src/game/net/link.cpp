#include "game/net/link.hpp"

#include <algorithm>
#include <cstring>

namespace tandrel::net {

std::string seconds(std::chrono::milliseconds time) { return std::to_string((time.count() + 999) / 1000) + " s"; }

bool MoveBudget::take(Clock::time_point now) {
    if (last_) tokens_ = std::min(burst, tokens_ + std::chrono::duration<double>(now - *last_).count() * perSecond);
    last_ = now;
    if (tokens_ < 1) return false;
    tokens_ -= 1;
    return true;
}

Link::Link(Socket socket_, std::string peer_, Clock::time_point now)
    : socket(std::move(socket_)), peer(std::move(peer_)), opened(now), lastHeard_(now), lastSent_(now) {}

bool Link::send(const Message& message, Clock::time_point now) {
    const Encoded e = encode(message);
    if (outSize_ + e.size > out_.size()) return false;
    std::memcpy(out_.data() + outSize_, e.bytes.data(), e.size);
    outSize_ += e.size;
    lastSent_ = now;
    return true;
}

std::optional<std::string> Link::flush() {
    while (outSize_ > 0) {
        const std::ptrdiff_t n = sendSome(socket, {out_.data(), outSize_});
        if (n == wouldBlock) return std::nullopt;
        if (n < 0) {
            lost = true;
            return "broke the connection";
        }
        std::memmove(out_.data(), out_.data() + n, outSize_ - static_cast<std::size_t>(n));
        outSize_ -= static_cast<std::size_t>(n);
    }
    return std::nullopt;
}

std::optional<std::string> Link::readSome(std::size_t limit, std::span<std::uint8_t> buffer, std::size_t& got) {
    const std::ptrdiff_t n = receiveSome(socket, buffer.first(std::min(limit, buffer.size())));
    lost = n == closedByPeer || n == broken;
    if (n == closedByPeer) return "closed the connection";
    if (n == broken) return "broke the connection";
    got = n > 0 ? static_cast<std::size_t>(n) : 0;
    return std::nullopt;
}

std::optional<std::string> Link::play(const Message& message, Role role, Clock::time_point now,
                                      std::optional<Event>& event) {
    event.reset();
    switch (message.type) {
    case MessageType::Ping: return std::nullopt;
    case MessageType::Hello: return "sent a second greeting";
    case MessageType::Busy: return "sent a busy signal during a match";
    case MessageType::Deal:
        if (role == Role::Host) return "sent a deal, which only the host may send";
        dealt = true;
        event = makeEvent(Event::Kind::Dealt);
        event->deal = message.deal;
        return std::nullopt;
    case MessageType::Move:
        if (!dealt) return "sent a move before any deal";
        if (!budget_.take(now)) return "sent moves faster than anyone can play";
        event = makeEvent(Event::Kind::Moved);
        event->direction = message.direction;
        return std::nullopt;
    case MessageType::Again:
        if (role == Role::Joiner) return "sent a new-match request, which only the joiner may send";
        if (!dealt) return "sent a new-match request before any deal";
        event = makeEvent(Event::Kind::Again);
        return std::nullopt;
    }
    return "sent a message of unknown type";
}

std::optional<std::string> Link::checkClocks(Clock::time_point now, const Config& config) {
    if (!greeted) {
        if (now - opened < config.greeting) return std::nullopt;
        return "said nothing for " + seconds(config.greeting);
    }
    if (now - lastSent_ >= config.ping) send(Message(MessageType::Ping), now);
    if (now - lastHeard_ < config.silence) return std::nullopt;
    return "went silent for " + seconds(config.silence);
}

Clock::time_point Link::nextDeadline(const Config& config) const {
    if (!greeted) return opened + config.greeting;
    return std::min(lastSent_ + config.ping, lastHeard_ + config.silence);
}

} // namespace tandrel::net
