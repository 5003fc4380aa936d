#include "game/random.hpp"

#include "game/seedsource.hpp"

#include <cmath>
#include <limits>

namespace tandrel {

namespace {

constexpr std::uint32_t lcgModulus = 2147483647u;

std::uint32_t initialSeedSourceValue() {
    const auto mixed = (processIdentity() + threadIdentity()) ^ counterReading();
    // The multiplicative generator is stuck at 0 forever, so 0 must not start it.
    const std::uint32_t x = mixed % lcgModulus;
    return x == 0 ? 1 : x;
}

std::uint32_t unpredictableSeed() {
    thread_local std::uint32_t lcg = initialSeedSourceValue();
    lcg = static_cast<std::uint32_t>(static_cast<std::uint64_t>(lcg) * 16807u % lcgModulus);
    return lcg ^ counterReading();
}

Mt19937& threadGenerator() {
    thread_local Mt19937 generator = Mt19937::seededFromSystem();
    return generator;
}

} // namespace

Mt19937 Mt19937::fromSeed(std::uint32_t seed) {
    State state;
    state[0] = seed;
    for (std::uint32_t i = 1; i < stateSize; ++i) state[i] = 1812433253u * (state[i - 1] ^ (state[i - 1] >> 30)) + i;
    return Mt19937(state);
}

Mt19937 Mt19937::seededFromSystem() {
    State state;
    for (auto& word : state) word = unpredictableSeed();
    return Mt19937(state);
}

void Mt19937::regenerate() {
    for (std::size_t i = 0; i < stateSize; ++i) {
        const std::uint32_t y = (state_[i] & 0x80000000u) | (state_[(i + 1) % stateSize] & 0x7FFFFFFFu);
        state_[i] = state_[(i + 397) % stateSize] ^ (y >> 1) ^ ((y & 1u) ? 0x9908B0DFu : 0u);
    }
    index_ = 0;
}

std::uint32_t Mt19937::next() {
    if (index_ >= stateSize) regenerate();
    std::uint32_t y = state_[index_++];
    y ^= y >> 11;
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    y ^= y >> 18;
    return y;
}

std::uint32_t uniform(std::uint32_t a, std::uint32_t b) { return uniform(threadGenerator(), a, b); }

double uniform(double a, double b) { return uniform(threadGenerator(), a, b); }

std::size_t dice(std::initializer_list<std::uint32_t> weights) { return dice(threadGenerator(), weights); }

std::uint32_t uniform(Mt19937& generator, std::uint32_t a, std::uint32_t b) {
    constexpr std::uint32_t max = std::numeric_limits<std::uint32_t>::max();
    const std::uint32_t range = b - a;
    std::uint32_t r, offset;
    do {
        r = generator.next();
        offset = r % range;
    } while (r - offset > max - (range - 1));
    return a + offset;
}

double uniform(Mt19937& generator, double a, double b) {
    const double below = std::nextafter(b, -std::numeric_limits<double>::infinity());
    const double r = generator.next();
    const double result = a + (below - a) * r / 4294967295.0;
    // With a away from 0 the sum can round up onto b at the top output.
    return result < b ? result : below;
}

std::size_t dice(Mt19937& generator, std::initializer_list<std::uint32_t> weights) {
    double sum = 0;
    for (std::uint32_t w : weights) sum += w;
    const double point = uniform(generator, 0.0, sum);
    double mass = 0;
    std::size_t i = 0;
    for (std::uint32_t w : weights) {
        mass += w;
        if (point < mass) return i;
        ++i;
    }
    // Not reached: point < sum, and the running mass ends at exactly sum.
    return weights.size() - 1;
}

Mt19937 currentGenerator() { return threadGenerator(); }

void restoreGenerator(const Mt19937& generator) { threadGenerator() = generator; }

namespace testing {
void setGeneratorState(const Mt19937::State& state) { restoreGenerator(Mt19937(state)); }
} // namespace testing

} // namespace tandrel
