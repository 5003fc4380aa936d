#include "support/math/vector.hpp"

#include <gtest/gtest.h>

namespace tandrel {
namespace {

TEST(Vector2, NormaliseGivesUnitLengthAndLeavesZeroAlone) {
    Vector2f v(3, -4);
    v.normalize();
    EXPECT_FLOAT_EQ(v.x, 0.6f);
    EXPECT_FLOAT_EQ(v.y, -0.8f);

    Vector2f zero;
    zero.normalize();
    EXPECT_EQ(zero, Vector2f(0, 0));
}

} // namespace
} // namespace tandrel
