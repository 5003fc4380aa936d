#include "game/random.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace tandrel {
namespace {

constexpr std::uint32_t maxOutput = std::numeric_limits<std::uint32_t>::max();

// The reference initialisation of MT19937 (init_genrand).
Mt19937::State standardState(std::uint32_t seed) {
    Mt19937::State s{};
    s[0] = seed;
    for (std::uint32_t i = 1; i < Mt19937::stateSize; ++i) s[i] = 1812433253u * (s[i - 1] ^ (s[i - 1] >> 30)) + i;
    return s;
}

std::uint32_t undoRightShift(std::uint32_t y, int shift) {
    std::uint32_t x = y;
    for (int i = 0; i < 32; ++i) x = y ^ (x >> shift);
    return x;
}

std::uint32_t undoLeftShift(std::uint32_t y, int shift, std::uint32_t mask) {
    std::uint32_t x = y;
    for (int i = 0; i < 32; ++i) x = y ^ ((x << shift) & mask);
    return x;
}

std::uint32_t untemper(std::uint32_t y) {
    y = undoRightShift(y, 18);
    y = undoLeftShift(y, 15, 0xEFC60000u);
    y = undoLeftShift(y, 7, 0x9D2C5680u);
    return undoRightShift(y, 11);
}

// A state whose first outputs are exactly `outputs`: with words 0 to 227 zero,
// the first regeneration copies word 397 + i into place i untouched.
Mt19937::State stateWithOutputs(std::initializer_list<std::uint32_t> outputs) {
    Mt19937::State s{};
    std::size_t i = 397;
    for (std::uint32_t out : outputs) s[i++] = untemper(out);
    return s;
}

// Reads the next output through the public draws: over [0, 2^32 - 1) only the
// top output is rejected, every other comes back unchanged.
std::uint32_t nextOutput() { return uniform(0u, maxOutput); }

TEST(Mt19937, MatchesTheReferenceGenerator) {
    Mt19937 generator(standardState(5489));
    EXPECT_EQ(generator.next(), 3499211612u);
    EXPECT_EQ(Mt19937::fromSeed(5489).state(), standardState(5489));
    std::mt19937 reference(5489);
    reference();
    // Past the first regeneration, too.
    for (int i = 1; i < 2000; ++i) ASSERT_EQ(generator.next(), reference()) << "output " << i;
    // The crafted states the draws below use give exactly the chosen outputs.
    Mt19937 crafted(stateWithOutputs({maxOutput, 0}));
    EXPECT_EQ(crafted.next(), maxOutput);
    EXPECT_EQ(crafted.next(), 0u);
}

TEST(Mt19937, SystemSeedingDiffersBetweenCalls) {
    Mt19937 a = Mt19937::seededFromSystem();
    Mt19937 b = Mt19937::seededFromSystem();
    int same = 0;
    for (int i = 0; i < 8; ++i) same += a.next() == b.next();
    EXPECT_LT(same, 8);
}

TEST(UniformInteger, SingleValueRangeStillConsumesAnOutput) {
    testing::setGeneratorState(standardState(5489));
    EXPECT_EQ(uniform(0u, 1u), 0u);
    EXPECT_EQ(nextOutput(), 581869302u); // the reference's second output
}

TEST(UniformInteger, RejectsTheLastIncompleteBucket) {
    // Over three values only the top output falls in the incomplete bucket.
    testing::setGeneratorState(stateWithOutputs({maxOutput, maxOutput - 1, 99}));
    EXPECT_EQ(uniform(10u, 13u), 12u);
    EXPECT_EQ(nextOutput(), 99u);

    // Over 2^31 + 1 values about half the outputs are rejected; the reference's
    // first output (3499211612) is, its second (581869302) is not.
    testing::setGeneratorState(standardState(5489));
    EXPECT_EQ(uniform(0u, 0x80000001u), 581869302u);
    EXPECT_EQ(nextOutput(), 3890346734u); // the third
}

TEST(UniformInteger, ThreeValuesComeUpEquallyOften) {
    testing::setGeneratorState(standardState(20240601));
    std::uint32_t counts[3] = {};
    for (int i = 0; i < 60000; ++i) {
        const std::uint32_t r = uniform(0u, 3u);
        ASSERT_LT(r, 3u);
        ++counts[r];
    }
    for (std::uint32_t c : counts) EXPECT_NEAR(c, 20000.0, 600.0);
}

TEST(UniformReal, SpansTheIntervalWithoutReachingItsEnd) {
    testing::setGeneratorState(stateWithOutputs({0, maxOutput, maxOutput, 0x80000000u}));
    EXPECT_EQ(uniform(0.0, 1.0), 0.0);
    EXPECT_EQ(uniform(0.0, 1.0), std::nextafter(1.0, 0.0));
    // Here the sum rounds onto b at the top output; the draw stays below it.
    const double a = -6.799901383775615, b = -0.18410726591362714;
    EXPECT_LT(uniform(a, b), b);
    EXPECT_NEAR(uniform(2.0, 4.0), 3.0, 1e-9);
}

TEST(Dice, PicksByCumulativeWeight) {
    testing::setGeneratorState(stateWithOutputs({0, maxOutput, 3865470565u, 3865470567u, maxOutput, 0}));
    EXPECT_EQ(dice({90, 10}), 0u);
    EXPECT_EQ(dice({90, 10}), 1u);
    // 0.9 of the way sits at the border between the two weights.
    EXPECT_EQ(dice({90, 10}), 0u);
    EXPECT_EQ(dice({90, 10}), 1u);
    // Zero weights are never chosen, at either end of the range.
    EXPECT_EQ(dice({0, 5, 0}), 1u);
    EXPECT_EQ(dice({0, 5, 0}), 1u);
}

TEST(Dice, NinetyTenComesUpNineTimesInTen) {
    testing::setGeneratorState(standardState(777));
    int zeros = 0;
    for (int i = 0; i < 100000; ++i) {
        const std::size_t d = dice({90, 10});
        ASSERT_LT(d, 2u);
        zeros += d == 0;
    }
    EXPECT_NEAR(zeros, 90000, 600);
}

} // namespace
} // namespace tandrel
