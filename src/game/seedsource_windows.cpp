#include "game/seedsource.hpp"

#include <windows.h>

namespace tandrel {

std::uint32_t counterReading() {
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    return static_cast<std::uint32_t>(count.QuadPart);
}

std::uint32_t processIdentity() { return GetCurrentProcessId(); }

std::uint32_t threadIdentity() { return GetCurrentThreadId(); }

} // namespace tandrel
