#pragma once

// Counts heap allocations made by the benchmarked code: include this header in
// exactly one source file of a benchmark program, which replaces the global
// operator new for the whole program.

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace tandrel::bench {
inline std::atomic<std::size_t> allocations{0};

// Records the allocations made since `before`, per `perItems` units of work
// (per iteration by default), under the counter name `perWhat`. Call it
// before any other counter: recording a counter allocates.
inline void reportAllocations(benchmark::State& state, std::size_t before, const char* perWhat, double perItems = 1) {
    const auto made = double(allocations.load() - before);
    state.counters[perWhat] = benchmark::Counter(made / (double(state.iterations()) * perItems));
    state.counters["allocs total"] = benchmark::Counter(made);
}
} // namespace tandrel::bench

void* operator new(std::size_t size) {
    tandrel::bench::allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
