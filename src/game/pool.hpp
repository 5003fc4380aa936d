#pragma once

#include <array>
#include <cstdint>

namespace tandrel {

// A fixed-capacity list stored inline. Places 0 to count - 1 hold the elements
// in the order they were added; later places hold leftovers and mean nothing.
template <typename T, std::uint32_t N>
struct Pool {
    std::array<T, N> items{};
    std::uint32_t count = 0;

    // Past capacity the item is dropped silently.
    void add(const T& item) {
        if (count < N) items[count++] = item;
    }
    // Callers pass i < count.
    T operator[](std::uint32_t i) const { return items[i]; }
    // Forgets the elements without erasing them; the next add lands at place 0.
    void clear() { count = 0; }
};

} // namespace tandrel
