#include "game/seedsource.hpp"

#include <unistd.h>
#include <ctime>
#include <functional>
#include <thread>

namespace tandrel {

// The monotonic clock in nanoseconds.
std::uint32_t counterReading() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    const auto ns = static_cast<std::uint64_t>(ts.tv_sec) * 1000000000u + static_cast<std::uint64_t>(ts.tv_nsec);
    return static_cast<std::uint32_t>(ns);
}

std::uint32_t processIdentity() { return static_cast<std::uint32_t>(getpid()); }

std::uint32_t threadIdentity() {
    const std::uint64_t h = std::hash<std::thread::id>{}(std::this_thread::get_id());
    return static_cast<std::uint32_t>(h ^ (h >> 32));
}

} // namespace tandrel
