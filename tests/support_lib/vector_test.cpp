#include "support/math/vector.hpp"

#include <gtest/gtest.h>

namespace tandrel {
namespace {

TEST(Vector2, ArithmeticAndLength) {
    Vector2f a(3, 4);
    const Vector2f b(1, 2);
    EXPECT_EQ(a + b, Vector2f(4, 6));
    EXPECT_EQ(a - b, Vector2f(2, 2));
    EXPECT_EQ(a += b, Vector2f(4, 6));
    EXPECT_EQ(a, Vector2f(4, 6));
    EXPECT_EQ(Vector2f(3, 4).lengthSquared(), 25.0f);
    EXPECT_EQ(Vector2f(3, 4).length(), 5.0f);
    EXPECT_EQ(a.setX(7), 7.0f);
    EXPECT_EQ(a.setY(-1), -1.0f);
    EXPECT_EQ(a, Vector2f(7, -1));
}

TEST(Vector2, NormaliseGivesUnitLengthAndLeavesZeroAlone) {
    Vector2f v(0, -5);
    v.normalize();
    EXPECT_EQ(v, Vector2f(0, -1));

    Vector2f zero;
    zero.normalize();
    EXPECT_EQ(zero, Vector2f(0, 0));
}

TEST(Vector3, Arithmetic) {
    Vector3f a(2, 4, 6);
    EXPECT_EQ(a - Vector3f(1, 1, 1), Vector3f(1, 3, 5));
    EXPECT_EQ(a / 2, Vector3f(1, 2, 3));
    EXPECT_EQ(a += Vector3f(1, 0, -6), Vector3f(3, 4, 0));
}

} // namespace
} // namespace tandrel
