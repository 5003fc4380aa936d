#include "game/net/socket.hpp"

#include <arpa/inet.h>
#include <fcntl.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace tandrel::net {

namespace {

int fd(const Socket& socket) { return static_cast<int>(socket.handle()); }

Socket makeSocket(int family) { return Socket(::socket(family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0)); }

// A move is a few bytes that should leave at once, not wait for company.
void sendPromptly(int s) {
    const int on = 1;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

std::string numericHost(const sockaddr* address, socklen_t size) {
    char text[NI_MAXHOST] = "";
    if (getnameinfo(address, size, text, sizeof text, nullptr, 0, NI_NUMERICHOST) != 0) return "?";
    if (address->sa_family != AF_INET6) return text;
    return std::string("[").append(text).append("]");
}

} // namespace

void startNetworking() {}

void Socket::close() {
    if (valid()) ::close(static_cast<int>(release()));
}

Socket listenOn(Family family, std::uint16_t port, std::string& error) {
    const int af = family == Family::V4 ? AF_INET : AF_INET6;
    Socket s = makeSocket(af);
    if (!s.valid()) {
        error = std::strerror(errno);
        return {};
    }
    const int on = 1;
    // A host that restarts finds its port again while the last one's
    // connections time out.
    setsockopt(fd(s), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_storage address{};
    socklen_t size = 0;
    if (family == Family::V4) {
        auto* a = reinterpret_cast<sockaddr_in*>(&address);
        a->sin_family = AF_INET;
        a->sin_port = htons(port);
        a->sin_addr.s_addr = htonl(INADDR_ANY);
        size = sizeof *a;
    } else {
        // IPv4 has a socket of its own, so this one takes IPv6 only.
        setsockopt(fd(s), IPPROTO_IPV6, IPV6_V6ONLY, &on, sizeof on);
        auto* a = reinterpret_cast<sockaddr_in6*>(&address);
        a->sin6_family = AF_INET6;
        a->sin6_port = htons(port);
        a->sin6_addr = in6addr_any;
        size = sizeof *a;
    }
    if (bind(fd(s), reinterpret_cast<sockaddr*>(&address), size) != 0 || listen(fd(s), 16) != 0) {
        error = std::strerror(errno);
        return {};
    }
    return s;
}

std::uint16_t localPort(const Socket& socket) {
    sockaddr_storage address{};
    socklen_t size = sizeof address;
    if (getsockname(fd(socket), reinterpret_cast<sockaddr*>(&address), &size) != 0) return 0;
    if (address.ss_family == AF_INET6) return ntohs(reinterpret_cast<sockaddr_in6*>(&address)->sin6_port);
    return ntohs(reinterpret_cast<sockaddr_in*>(&address)->sin_port);
}

Socket acceptFrom(const Socket& listener, std::string& peer) {
    sockaddr_storage address{};
    socklen_t size = sizeof address;
    Socket s(accept4(fd(listener), reinterpret_cast<sockaddr*>(&address), &size, SOCK_NONBLOCK | SOCK_CLOEXEC));
    if (s.valid()) {
        sendPromptly(fd(s));
        peer = numericHost(reinterpret_cast<sockaddr*>(&address), size);
    }
    return s;
}

Lookup lookUp(const std::string& host, std::uint16_t port) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_ADDRCONFIG;
    addrinfo* found = nullptr;
    Lookup result;
    const int status = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
    if (status != 0) {
        result.outcome =
            status == EAI_NONAME || status == EAI_NODATA ? Lookup::Outcome::NoSuchName : Lookup::Outcome::Failed;
        result.error = gai_strerror(status);
        return result;
    }
    takeAddresses(found, result);
    freeaddrinfo(found);
    return result;
}

Socket connectTo(const Address& address, ConnectOutcome& outcome) {
    const auto* a = reinterpret_cast<const sockaddr*>(address.bytes.data());
    Socket s = makeSocket(a->sa_family);
    outcome = ConnectOutcome::Failed;
    if (!s.valid()) return s;
    sendPromptly(fd(s));
    if (connect(fd(s), a, static_cast<socklen_t>(address.size)) == 0)
        outcome = ConnectOutcome::Connected;
    else if (errno == EINPROGRESS)
        outcome = ConnectOutcome::Pending;
    else if (errno == ECONNREFUSED)
        outcome = ConnectOutcome::Refused;
    return s;
}

ConnectOutcome connectResult(const Socket& socket) {
    int error = 0;
    socklen_t size = sizeof error;
    if (getsockopt(fd(socket), SOL_SOCKET, SO_ERROR, &error, &size) != 0) return ConnectOutcome::Failed;
    if (error == 0) return ConnectOutcome::Connected;
    return error == ECONNREFUSED ? ConnectOutcome::Refused : ConnectOutcome::Failed;
}

std::ptrdiff_t receiveSome(const Socket& socket, std::span<std::uint8_t> into) {
    const ssize_t n = recv(fd(socket), into.data(), into.size(), 0);
    if (n > 0) return n;
    if (n == 0) return closedByPeer;
    return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR ? wouldBlock : broken;
}

std::ptrdiff_t sendSome(const Socket& socket, std::span<const std::uint8_t> bytes) {
    // MSG_NOSIGNAL: a peer gone away is an error to handle, not SIGPIPE.
    const ssize_t n = send(fd(socket), bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (n >= 0) return n;
    return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR ? wouldBlock : broken;
}

void waitFor(std::span<Watch> watches, std::chrono::milliseconds timeout) {
    constexpr std::size_t most = 32;
    pollfd fds[most]{};
    const std::size_t count = std::min(watches.size(), most);
    for (std::size_t i = 0; i < count; ++i) {
        fds[i].fd = static_cast<int>(watches[i].handle);
        fds[i].events = static_cast<short>((watches[i].read ? POLLIN : 0) | (watches[i].write ? POLLOUT : 0));
    }
    const int ready = poll(fds, count, static_cast<int>(timeout.count()));
    for (std::size_t i = 0; i < count; ++i) {
        const short got = ready > 0 ? fds[i].revents : 0;
        const bool failed = (got & (POLLERR | POLLHUP | POLLNVAL)) != 0;
        watches[i].readable = (got & POLLIN) != 0 || (failed && watches[i].read);
        watches[i].writable = (got & POLLOUT) != 0 || (failed && watches[i].write);
    }
}

Wake::Wake() : receiver_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

Wake::~Wake() = default;

void Wake::signal() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = write(fd(receiver_), &one, sizeof one);
}

void Wake::drain() {
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t n = read(fd(receiver_), &count, sizeof count);
}

std::vector<InterfaceAddress> interfaceAddresses() {
    std::vector<InterfaceAddress> result;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return result;
    for (const ifaddrs* i = list; i != nullptr; i = i->ifa_next) {
        if (i->ifa_addr == nullptr || (i->ifa_flags & IFF_UP) == 0) continue;
        const int family = i->ifa_addr->sa_family;
        if (family == AF_INET) {
            result.push_back(
                {numericHost(i->ifa_addr, sizeof(sockaddr_in)), Family::V4, (i->ifa_flags & IFF_LOOPBACK) != 0});
        } else if (family == AF_INET6) {
            const auto* a = reinterpret_cast<const sockaddr_in6*>(i->ifa_addr);
            if (IN6_IS_ADDR_LINKLOCAL(&a->sin6_addr)) continue;
            result.push_back(
                {numericHost(i->ifa_addr, sizeof(sockaddr_in6)), Family::V6, (i->ifa_flags & IFF_LOOPBACK) != 0});
        }
    }
    freeifaddrs(list);
    return result;
}

} // namespace tandrel::net
