#include "game/net/sessionthread.hpp"

#include <algorithm>

namespace tandrel::net {

SessionThread::SessionThread(Link::Role role, Config config) : role_(role), config_(std::move(config)) {
    startNetworking();
    outgoing_.reserve(64);
}

SessionThread::~SessionThread() { stop(); }

void SessionThread::start() {
    thread_ = std::thread([this] { run(); });
}

void SessionThread::stop() {
    stopping_ = true;
    wake_->signal();
    if (thread_.joinable()) thread_.join();
}

bool SessionThread::poll(Event& event) {
    const std::lock_guard lock(mutex_);
    if (count_ == 0) return false;
    event = std::move(events_[first_]);
    first_ = (first_ + 1) % capacity;
    --count_;
    return true;
}

void SessionThread::report(Event event) {
    {
        const std::lock_guard lock(mutex_);
        // readLimit() keeps room for every event a connection can still
        // bring, so this never drops one.
        if (count_ == capacity) return;
        events_[(first_ + count_) % capacity] = std::move(event);
        ++count_;
    }
    if (config_.wake) config_.wake();
}

std::size_t SessionThread::readLimit() const {
    const std::lock_guard lock(mutex_);
    const std::size_t room = capacity - count_;
    return room <= reserved ? 0 : 2 * (room - reserved);
}

void SessionThread::sendMove(Direction direction) {
    {
        const std::lock_guard lock(mutex_);
        outgoing_.push_back({MessageType::Move, direction});
    }
    wake_->signal();
}

void SessionThread::sendAgain() {
    {
        const std::lock_guard lock(mutex_);
        outgoing_.push_back({MessageType::Again, Direction::Left});
    }
    wake_->signal();
}

void SessionThread::deal() {
    {
        const std::lock_guard lock(mutex_);
        outgoing_.push_back({MessageType::Deal, Direction::Left});
    }
    wake_->signal();
}

std::optional<std::string> SessionThread::readFrom(Link& link, bool readable, Clock::time_point now) {
    const std::size_t limit = readLimit();
    if (limit == 0) link.pauseHearing(now);
    if (limit == 0 || !readable) return std::nullopt;
    return link.receive(limit, now, [&](const Message& message) -> std::optional<std::string> {
        if (!link.greeted) return greet(link, message);
        std::optional<Event> event;
        auto broke = link.play(message, role_, now, event);
        if (event) report(std::move(*event));
        return broke;
    });
}

void SessionThread::takeOutgoing(std::vector<Outgoing>& into) {
    into.clear();
    const std::lock_guard lock(mutex_);
    std::swap(into, outgoing_);
}

void SessionThread::wait(std::vector<Watch>& watches, Clock::time_point until) {
    watches.insert(watches.begin(), Watch(wake_->handle(), true, false));
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now());
    waitFor(watches, std::clamp(left, std::chrono::milliseconds(0), std::chrono::milliseconds(1000)));
    if (watches.front().readable) wake_->drain();
    watches.erase(watches.begin());
}

} // namespace tandrel::net
