#include "game/net/sessionthread.hpp"

#include <mutex>

namespace tandrel::net {

namespace {

class JoinSession final : public SessionThread {
public:
    JoinSession(JoinTarget target, Config config);
    ~JoinSession() override { stop(); }

private:
    void run() override;
    std::optional<Lookup> lookUpBefore(Clock::time_point deadline);
    // The first address that accepts; `why` says why none did.
    std::optional<Link> connect(const std::vector<Address>& addresses, Clock::time_point deadline, std::string& why);
    void play(Link& link);
    std::optional<std::string> greet(Link& link, const Message& message) override;
    std::optional<std::string> sendOutgoing(Link& link, Clock::time_point now);
    void fail(const std::string& why);

    JoinTarget target_;
    std::vector<Outgoing> outgoing_;
    std::vector<Watch> watches_;
};

JoinSession::JoinSession(JoinTarget target, Config config)
    : SessionThread(Link::Role::Joiner, std::move(config)), target_(std::move(target)) {
    start();
}

void JoinSession::run() {
    const Clock::time_point deadline = Clock::now() + config_.connectDeadline;
    const std::optional<Lookup> lookup = lookUpBefore(deadline);
    if (stopping()) return;
    if (!lookup) return fail("no answer within " + seconds(config_.connectDeadline));
    if (lookup->outcome == Lookup::Outcome::NoSuchName) return fail("no such host");
    if (lookup->outcome == Lookup::Outcome::Failed) return fail(lookup->error);
    std::string why;
    std::optional<Link> link = connect(lookup->addresses, deadline, why);
    if (stopping()) return;
    if (!link) return fail(why);
    link->send(Message::hello(config_.version), Clock::now());
    play(*link);
}

std::optional<Lookup> JoinSession::lookUpBefore(Clock::time_point deadline) {
    // The system's resolver cannot be interrupted, so it runs on a thread of
    // its own that may outlive the session: a session closed during a slow
    // look-up stops at once all the same.
    struct Shared {
        std::mutex mutex;
        std::optional<Lookup> result;
    };
    auto shared = std::make_shared<Shared>();
    std::thread([shared, wake = wake_, host = target_.host, port = target_.port] {
        Lookup found = lookUp(host, port);
        {
            const std::lock_guard lock(shared->mutex);
            shared->result = std::move(found);
        }
        wake->signal();
    }).detach();
    while (!stopping() && Clock::now() < deadline) {
        {
            const std::lock_guard lock(shared->mutex);
            if (shared->result) return std::move(shared->result);
        }
        wait(watches_, deadline);
    }
    return std::nullopt;
}

std::optional<Link> JoinSession::connect(const std::vector<Address>& addresses, Clock::time_point deadline,
                                         std::string& why) {
    bool refused = false;
    bool timedOut = false;
    for (std::size_t i = 0; i < addresses.size() && !stopping(); ++i) {
        // Each address gets its share of the time left, so that one that
        // never answers leaves time for the next.
        const Clock::time_point now = Clock::now();
        const Clock::time_point end = now + (deadline - now) / static_cast<int>(addresses.size() - i);
        ConnectOutcome outcome = ConnectOutcome::Failed;
        Socket socket = connectTo(addresses[i], outcome);
        while (outcome == ConnectOutcome::Pending && !stopping() && Clock::now() < end) {
            watches_.assign(1, Watch(socket.handle(), false, true));
            wait(watches_, end);
            if (watches_[0].writable) outcome = connectResult(socket);
        }
        if (outcome == ConnectOutcome::Connected) return Link(std::move(socket), target_.host, Clock::now());
        refused = refused || outcome == ConnectOutcome::Refused;
        timedOut = timedOut || outcome == ConnectOutcome::Pending;
    }
    why = refused    ? "the connection was refused"
          : timedOut ? "no answer within " + seconds(config_.connectDeadline)
                     : "it cannot be reached";
    return std::nullopt;
}

void JoinSession::play(Link& link) {
    while (!stopping()) {
        Clock::time_point now = Clock::now();
        std::optional<std::string> ended = sendOutgoing(link, now);
        if (!ended) ended = link.flush();
        if (!ended) ended = link.checkClocks(now, config_);
        if (!ended) {
            watches_.assign(1, Watch(link.socket.handle(), readLimit() > 0, link.wantsWrite()));
            wait(watches_, link.nextDeadline(config_));
            ended = readFrom(link, watches_[0].readable, Clock::now());
        }
        if (!ended) continue;
        if (link.greeted) {
            link.flush();
            return report(makeEvent(Event::Kind::Left, "The other player " + *ended + "."));
        }
        return fail("it " + *ended);
    }
}

std::optional<std::string> JoinSession::greet(Link& link, const Message& message) {
    if (message.type == MessageType::Busy) return "is busy with another match";
    if (message.type != MessageType::Hello) return "sent a message before greeting";
    if (message.version() != config_.version || message.protocol != protocolVersion)
        return "runs Tandrel " + std::string(message.version()) + ", this is Tandrel " + config_.version;
    link.greeted = true;
    report(makeEvent(Event::Kind::Joined, std::string(message.version())));
    return std::nullopt;
}

std::optional<std::string> JoinSession::sendOutgoing(Link& link, Clock::time_point now) {
    takeOutgoing(outgoing_);
    for (const Outgoing& out : outgoing_) {
        // Only the host deals; nothing is sent before the first deal.
        if (out.type == MessageType::Deal || !link.dealt) continue;
        Message message(out.type);
        message.direction = out.direction;
        if (!link.send(message, now)) return "stopped reading";
    }
    return std::nullopt;
}

void JoinSession::fail(const std::string& why) {
    report(makeEvent(Event::Kind::Failed, "Could not join " + joinText(target_) + ": " + why + "."));
}

} // namespace

std::unique_ptr<Session> Session::join(const JoinTarget& target, Config config) {
    return std::make_unique<JoinSession>(target, std::move(config));
}

} // namespace tandrel::net
