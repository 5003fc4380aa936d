#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>

namespace tandrel {

// MT19937 with 32-bit output. The process draws from one instance per thread,
// seeded unpredictably on first use and never reseeded.
class Mt19937 {
public:
    static constexpr std::size_t stateSize = 624;
    using State = std::array<std::uint32_t, stateSize>;

    // Starts from the given words; the first output is the first tempered word
    // of the first regeneration.
    explicit Mt19937(const State& state) : state_(state) {}
    // Goes on from a generator's words and its position among them, as
    // state() and position() gave them; position is at most stateSize.
    Mt19937(const State& state, std::size_t position) : state_(state), index_(position) {}
    // The reference initialisation from one 32-bit seed (init_genrand): two
    // programs given the same seed draw the same numbers, whatever their
    // platform.
    static Mt19937 fromSeed(std::uint32_t seed);
    // Fills the state from 624 successive values of the per-thread seed source
    // (a Park-Miller generator mixed with the high-resolution counter), so two calls
    // yield different generators.
    static Mt19937 seededFromSystem();

    std::uint32_t next();

    const State& state() const { return state_; }
    std::size_t position() const { return index_; }

private:
    void regenerate();

    State state_;
    std::size_t index_ = stateSize;
};

// Uniform integer in [a, b), a < b; outputs from the last, incomplete bucket
// are drawn again so every result is equally likely.
std::uint32_t uniform(std::uint32_t a, std::uint32_t b);
// Uniform real in [a, b), a < b, from one output; never reaches b.
double uniform(double a, double b);
// The place of the chosen weight, each chosen in proportion to its weight; at
// least one weight must be positive.
std::size_t dice(std::initializer_list<std::uint32_t> weights);

// The same draws from a generator of the caller's rather than the thread's.
std::uint32_t uniform(Mt19937& generator, std::uint32_t a, std::uint32_t b);
double uniform(Mt19937& generator, double a, double b);
std::size_t dice(Mt19937& generator, std::initializer_list<std::uint32_t> weights);

// The calling thread's generator as it stands, to keep with a match that is
// to go on later exactly as it would have.
Mt19937 currentGenerator();
// Puts back a generator kept earlier: resuming a kept match is the one place
// the game sets it.
void restoreGenerator(const Mt19937& generator);

namespace testing {
// For tests only: replaces the calling thread's generator with one started
// from `state`, so draws become reproducible.
void setGeneratorState(const Mt19937::State& state);
} // namespace testing

} // namespace tandrel
