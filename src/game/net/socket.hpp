#pragma once

// The little of each platform's sockets a session needs: non-blocking TCP,
// waiting on several sockets at once, and a way to wake that wait. One file
// per platform (socket_<platform>.cpp) implements it.

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

namespace tandrel::net {

// Readies the platform's sockets once per process; cheap to call again.
void startNetworking();

// A socket of the platform (a descriptor or a SOCKET), closed on destruction.
class Socket {
public:
    Socket() = default;
    explicit Socket(std::intptr_t handle) : handle_(handle) {}
    Socket(Socket&& other) noexcept : handle_(other.release()) {}
    Socket& operator=(Socket&& other) noexcept {
        if (this != &other) {
            close();
            handle_ = other.release();
        }
        return *this;
    }
    ~Socket() { close(); }

    bool valid() const { return handle_ != invalid; }
    std::intptr_t handle() const { return handle_; }
    void close();

    static constexpr std::intptr_t invalid = -1;

private:
    std::intptr_t release() {
        const std::intptr_t h = handle_;
        handle_ = invalid;
        return h;
    }

    std::intptr_t handle_ = invalid;
};

// A socket address as the platform keeps it.
struct Address {
    std::array<unsigned char, 128> bytes{};
    std::size_t size = 0;
};

enum class Family { V4, V6 };

// A non-blocking socket listening on every address of the family; invalid
// (with `error` set) when the family is unavailable or the port taken.
Socket listenOn(Family family, std::uint16_t port, std::string& error);
std::uint16_t localPort(const Socket& socket);
// The next waiting connection, non-blocking, with its peer's address for
// messages; invalid when none waits.
Socket acceptFrom(const Socket& listener, std::string& peer);

struct Lookup {
    enum class Outcome { Found, NoSuchName, Failed } outcome = Outcome::Failed;
    std::vector<Address> addresses;
    std::string error;
};
// Blocks for as long as the system's resolver takes.
Lookup lookUp(const std::string& host, std::uint16_t port);
// What getaddrinfo found, the same list on either platform: every address
// that fits, and NoSuchName when none does.
template <typename AddressInfo>
void takeAddresses(const AddressInfo* found, Lookup& result) {
    for (const AddressInfo* a = found; a != nullptr; a = a->ai_next) {
        Address address;
        if (a->ai_addrlen > address.bytes.size()) continue;
        std::memcpy(address.bytes.data(), a->ai_addr, a->ai_addrlen);
        address.size = a->ai_addrlen;
        result.addresses.push_back(address);
    }
    result.outcome = result.addresses.empty() ? Lookup::Outcome::NoSuchName : Lookup::Outcome::Found;
}

enum class ConnectOutcome { Pending, Connected, Refused, Failed };
// Starts a non-blocking connection; Pending means: wait until writable, then
// ask connectResult.
Socket connectTo(const Address& address, ConnectOutcome& outcome);
ConnectOutcome connectResult(const Socket& socket);

// Bytes moved, or one of the conditions below (all negative).
inline constexpr std::ptrdiff_t wouldBlock = -1;
inline constexpr std::ptrdiff_t closedByPeer = -2;
inline constexpr std::ptrdiff_t broken = -3;
std::ptrdiff_t receiveSome(const Socket& socket, std::span<std::uint8_t> into);
std::ptrdiff_t sendSome(const Socket& socket, std::span<const std::uint8_t> bytes);

struct Watch {
    Watch() = default;
    Watch(std::intptr_t handle_, bool read_, bool write_) : handle(handle_), read(read_), write(write_) {}

    std::intptr_t handle = Socket::invalid;
    bool read = false;
    bool write = false;
    bool readable = false;
    // Also set when the socket failed, so that the next call notices.
    bool writable = false;
};
// Waits until one watched socket is ready or the time is up; fills in
// readable and writable.
void waitFor(std::span<Watch> watches, std::chrono::milliseconds timeout);

// Interrupts waitFor from another thread: its handle is watched for reading.
class Wake {
public:
    Wake();
    ~Wake();
    Wake(const Wake&) = delete;
    Wake& operator=(const Wake&) = delete;

    std::intptr_t handle() const { return receiver_.handle(); }
    void signal();
    void drain();

private:
    Socket receiver_;
    Socket sender_;
};

struct InterfaceAddress {
    std::string text;
    Family family = Family::V4;
    bool loopback = false;
};
// The addresses of this machine's interfaces that another machine could use;
// IPv6 ones bracketed as typed after --join=, link-local ones left out since
// they need a zone to be typed.
std::vector<InterfaceAddress> interfaceAddresses();

} // namespace tandrel::net
