#include "support/math/quaternion.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace tandrel {
namespace {

constexpr float pi = 3.14159265358979f;

void expectMatrixNear(const Matrix& m, const float (&expected)[16]) {
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(m[i], expected[i], 1e-6) << "flat index " << i;
}

TEST(Quaternion, ZeroAngleIsIdentity) {
    const Quaternion q = Quaternion::rotation({0, 0, 1}, 0);
    EXPECT_EQ(q.z, 0.0f);
    EXPECT_EQ(q.w, 1.0f);
    expectMatrixNear(q.toMatrix(), {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
}

TEST(Quaternion, QuarterTurnsBecomeRotationMatrices) {
    const Quaternion aboutZ(0, 0, std::sin(pi / 4), std::cos(pi / 4));
    expectMatrixNear(aboutZ.toMatrix(), {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
    // About x, y goes to z and z to -y.
    expectMatrixNear(Quaternion::rotation({1, 0, 0}, pi / 2).toMatrix(),
                     {1, 0, 0, 0, 0, 0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1});
}

TEST(Quaternion, HamiltonProductOfUnitsAndOfAGeneralPair) {
    const Quaternion i(1, 0, 0, 0), j(0, 1, 0, 0), k(0, 0, 1, 0);
    const auto expectEq = [](const Quaternion& got, const Quaternion& want) {
        EXPECT_EQ(got.x, want.x);
        EXPECT_EQ(got.y, want.y);
        EXPECT_EQ(got.z, want.z);
        EXPECT_EQ(got.w, want.w);
    };
    expectEq(i * j, k);
    expectEq(j * k, i);
    expectEq(k * i, j);
    expectEq(j * i, Quaternion(0, 0, -1, 0));
    // Every term of every component contributes: (1, 2, 3, 4) x (5, 6, 7, 8).
    expectEq(Quaternion(1, 2, 3, 4) * Quaternion(5, 6, 7, 8), Quaternion(24, 48, 48, -6));
    // A quarter turn about z, then one about x: x goes to y, then to z.
    const Quaternion q = Quaternion::rotation({1, 0, 0}, pi / 2) * Quaternion::rotation({0, 0, 1}, pi / 2);
    EXPECT_NEAR(q.toMatrix()(2, 0), 1, 1e-6);
}

} // namespace
} // namespace tandrel
