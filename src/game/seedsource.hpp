#pragma once

// What the per-thread seed source mixes: the system's high-resolution counter,
// the process id and the thread's identity; one file per platform.

#include <cstdint>

namespace tandrel {

// The counter's low 32 bits: the fastest changing bits are what make each
// reading unpredictable.
std::uint32_t counterReading();
std::uint32_t processIdentity();
// The calling thread's identity folded to 32 bits.
std::uint32_t threadIdentity();

} // namespace tandrel
