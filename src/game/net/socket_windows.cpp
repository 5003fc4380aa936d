#include "game/net/socket.hpp"

// First: the others build on it.
#include <winsock2.h>

#include <iphlpapi.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <mutex>

namespace tandrel::net {

namespace {

SOCKET sock(const Socket& socket) { return static_cast<SOCKET>(socket.handle()); }

Socket adopt(SOCKET s) { return Socket(s == INVALID_SOCKET ? Socket::invalid : static_cast<std::intptr_t>(s)); }

void setNonBlocking(SOCKET s) {
    u_long on = 1;
    ioctlsocket(s, FIONBIO, &on);
}

Socket makeSocket(int family, int type) {
    Socket s = adopt(::socket(family, type, 0));
    if (s.valid()) setNonBlocking(sock(s));
    return s;
}

// A move is a few bytes that should leave at once, not wait for company.
void sendPromptly(SOCKET s) {
    const BOOL on = TRUE;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
}

std::string errorText(int code) {
    char text[256] = "";
    const DWORD size = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                      static_cast<DWORD>(code), 0, text, sizeof text, nullptr);
    std::string result(text, size);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' || result.back() == '.'))
        result.pop_back();
    return result.empty() ? "error " + std::to_string(code) : result;
}

std::string numericHost(const sockaddr* address, std::size_t size) {
    char text[NI_MAXHOST] = "";
    if (getnameinfo(address, static_cast<socklen_t>(size), text, sizeof text, nullptr, 0, NI_NUMERICHOST) != 0)
        return "?";
    if (address->sa_family != AF_INET6) return text;
    return std::string("[").append(text).append("]");
}

bool wouldWait(int code) { return code == WSAEWOULDBLOCK || code == WSAEINTR; }

} // namespace

void startNetworking() {
    static std::once_flag once;
    std::call_once(once, [] {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    });
}

void Socket::close() {
    if (valid()) closesocket(static_cast<SOCKET>(release()));
}

Socket listenOn(Family family, std::uint16_t port, std::string& error) {
    const int af = family == Family::V4 ? AF_INET : AF_INET6;
    Socket s = makeSocket(af, SOCK_STREAM);
    if (!s.valid()) {
        error = errorText(WSAGetLastError());
        return {};
    }
    sockaddr_storage address{};
    int size = 0;
    if (family == Family::V4) {
        auto* a = reinterpret_cast<sockaddr_in*>(&address);
        a->sin_family = AF_INET;
        a->sin_port = htons(port);
        a->sin_addr.s_addr = htonl(INADDR_ANY);
        size = sizeof *a;
    } else {
        // IPv4 has a socket of its own, so this one takes IPv6 only.
        const DWORD on = 1;
        setsockopt(sock(s), IPPROTO_IPV6, IPV6_V6ONLY, reinterpret_cast<const char*>(&on), sizeof on);
        auto* a = reinterpret_cast<sockaddr_in6*>(&address);
        a->sin6_family = AF_INET6;
        a->sin6_port = htons(port);
        a->sin6_addr = in6addr_any;
        size = sizeof *a;
    }
    // No SO_REUSEADDR: on Windows it would let another program take the port
    // from under the host.
    if (bind(sock(s), reinterpret_cast<sockaddr*>(&address), size) != 0 || listen(sock(s), 16) != 0) {
        error = errorText(WSAGetLastError());
        return {};
    }
    return s;
}

std::uint16_t localPort(const Socket& socket) {
    sockaddr_storage address{};
    int size = sizeof address;
    if (getsockname(sock(socket), reinterpret_cast<sockaddr*>(&address), &size) != 0) return 0;
    if (address.ss_family == AF_INET6) return ntohs(reinterpret_cast<sockaddr_in6*>(&address)->sin6_port);
    return ntohs(reinterpret_cast<sockaddr_in*>(&address)->sin_port);
}

Socket acceptFrom(const Socket& listener, std::string& peer) {
    sockaddr_storage address{};
    int size = sizeof address;
    Socket s = adopt(accept(sock(listener), reinterpret_cast<sockaddr*>(&address), &size));
    if (s.valid()) {
        setNonBlocking(sock(s));
        sendPromptly(sock(s));
        peer = numericHost(reinterpret_cast<sockaddr*>(&address), static_cast<std::size_t>(size));
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
            status == WSAHOST_NOT_FOUND || status == WSANO_DATA ? Lookup::Outcome::NoSuchName : Lookup::Outcome::Failed;
        result.error = errorText(status);
        return result;
    }
    takeAddresses(found, result);
    freeaddrinfo(found);
    return result;
}

Socket connectTo(const Address& address, ConnectOutcome& outcome) {
    const auto* a = reinterpret_cast<const sockaddr*>(address.bytes.data());
    Socket s = makeSocket(a->sa_family, SOCK_STREAM);
    outcome = ConnectOutcome::Failed;
    if (!s.valid()) return s;
    sendPromptly(sock(s));
    if (connect(sock(s), a, static_cast<int>(address.size)) == 0) {
        outcome = ConnectOutcome::Connected;
    } else {
        const int code = WSAGetLastError();
        if (code == WSAEWOULDBLOCK)
            outcome = ConnectOutcome::Pending;
        else if (code == WSAECONNREFUSED)
            outcome = ConnectOutcome::Refused;
    }
    return s;
}

ConnectOutcome connectResult(const Socket& socket) {
    int error = 0;
    int size = sizeof error;
    if (getsockopt(sock(socket), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size) != 0)
        return ConnectOutcome::Failed;
    if (error == 0) return ConnectOutcome::Connected;
    return error == WSAECONNREFUSED ? ConnectOutcome::Refused : ConnectOutcome::Failed;
}

std::ptrdiff_t receiveSome(const Socket& socket, std::span<std::uint8_t> into) {
    const int n = recv(sock(socket), reinterpret_cast<char*>(into.data()), static_cast<int>(into.size()), 0);
    if (n > 0) return n;
    if (n == 0) return closedByPeer;
    return wouldWait(WSAGetLastError()) ? wouldBlock : broken;
}

std::ptrdiff_t sendSome(const Socket& socket, std::span<const std::uint8_t> bytes) {
    const int n = send(sock(socket), reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size()), 0);
    if (n >= 0) return n;
    return wouldWait(WSAGetLastError()) ? wouldBlock : broken;
}

void waitFor(std::span<Watch> watches, std::chrono::milliseconds timeout) {
    // A session watches a dozen sockets at most, well within FD_SETSIZE.
    fd_set reads;
    fd_set writes;
    fd_set failures;
    FD_ZERO(&reads);
    FD_ZERO(&writes);
    FD_ZERO(&failures);
    for (const Watch& w : watches) {
        const auto s = static_cast<SOCKET>(w.handle);
        if (w.read) FD_SET(s, &reads);
        // A connection that fails shows only among the failures.
        if (w.write) {
            FD_SET(s, &writes);
            FD_SET(s, &failures);
        }
    }
    timeval wait{static_cast<long>(timeout.count() / 1000), static_cast<long>(timeout.count() % 1000 * 1000)};
    const int ready = select(0, &reads, &writes, &failures, &wait);
    for (Watch& w : watches) {
        const auto s = static_cast<SOCKET>(w.handle);
        w.readable = ready > 0 && w.read && FD_ISSET(s, &reads);
        w.writable = ready > 0 && w.write && (FD_ISSET(s, &writes) || FD_ISSET(s, &failures));
    }
}

// select() takes only sockets, so the wake is a datagram to oneself over
// loopback.
Wake::Wake() {
    startNetworking();
    receiver_ = makeSocket(AF_INET, SOCK_DGRAM);
    sender_ = makeSocket(AF_INET, SOCK_DGRAM);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof address;
    bind(sock(receiver_), reinterpret_cast<sockaddr*>(&address), size);
    getsockname(sock(receiver_), reinterpret_cast<sockaddr*>(&address), &size);
    connect(sock(sender_), reinterpret_cast<sockaddr*>(&address), size);
}

Wake::~Wake() = default;

void Wake::signal() {
    const char one = 1;
    send(sock(sender_), &one, 1, 0);
}

void Wake::drain() {
    char bytes[64];
    for (int i = 0; i < 64 && recv(sock(receiver_), bytes, sizeof bytes, 0) > 0; ++i) {
    }
}

std::vector<InterfaceAddress> interfaceAddresses() {
    std::vector<InterfaceAddress> result;
    std::vector<unsigned char> buffer(16 * 1024);
    ULONG size = static_cast<ULONG>(buffer.size());
    const ULONG flags = GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;
    auto* adapters = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data());
    ULONG status = GetAdaptersAddresses(AF_UNSPEC, flags, nullptr, adapters, &size);
    if (status == ERROR_BUFFER_OVERFLOW) {
        buffer.resize(size);
        adapters = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data());
        status = GetAdaptersAddresses(AF_UNSPEC, flags, nullptr, adapters, &size);
    }
    if (status != NO_ERROR) return result;
    for (const IP_ADAPTER_ADDRESSES* a = adapters; a != nullptr; a = a->Next) {
        if (a->OperStatus != IfOperStatusUp) continue;
        const bool loopback = a->IfType == IF_TYPE_SOFTWARE_LOOPBACK;
        for (const IP_ADAPTER_UNICAST_ADDRESS* u = a->FirstUnicastAddress; u != nullptr; u = u->Next) {
            const sockaddr* address = u->Address.lpSockaddr;
            const auto length = static_cast<std::size_t>(u->Address.iSockaddrLength);
            if (address->sa_family == AF_INET) {
                result.push_back({numericHost(address, length), Family::V4, loopback});
            } else if (address->sa_family == AF_INET6) {
                if (IN6_IS_ADDR_LINKLOCAL(&reinterpret_cast<const sockaddr_in6*>(address)->sin6_addr)) continue;
                result.push_back({numericHost(address, length), Family::V6, loopback});
            }
        }
    }
    return result;
}

} // namespace tandrel::net
