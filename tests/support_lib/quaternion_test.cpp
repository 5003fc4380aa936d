#include "support/math/quaternion.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace tandrel {
namespace {

constexpr float pi = 3.14159265358979f;

TEST(Quaternion, ZeroAngleIsIdentity) {
    const Quaternion q = Quaternion::rotation({0, 0, 1}, 0);
    EXPECT_EQ(q.x, 0.0f);
    EXPECT_EQ(q.y, 0.0f);
    EXPECT_EQ(q.z, 0.0f);
    EXPECT_EQ(q.w, 1.0f);
    const Matrix m = q.toMatrix();
    const Matrix identity;
    for (int i = 0; i < 16; ++i) EXPECT_EQ(m[i], identity[i]) << "flat index " << i;
}

TEST(Quaternion, QuarterTurnAboutZ) {
    const float h = std::sin(pi / 4);
    const Quaternion q(0, 0, h, std::cos(pi / 4));
    const Matrix m = q.toMatrix();
    const float expected[16] = {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(m[i], expected[i], 1e-6) << "flat index " << i;
}

TEST(Quaternion, MatrixRotatesLikeTheQuaternion) {
    // 90 degrees about x takes y to z: column 1 of the matrix is (0, 0, 1).
    const Matrix m = Quaternion::rotation({1, 0, 0}, pi / 2).toMatrix();
    EXPECT_NEAR(m(0, 1), 0, 1e-6);
    EXPECT_NEAR(m(1, 1), 0, 1e-6);
    EXPECT_NEAR(m(2, 1), 1, 1e-6);
    // And about y takes z to x.
    const Matrix n = Quaternion::rotation({0, 1, 0}, pi / 2).toMatrix();
    EXPECT_NEAR(n(0, 2), 1, 1e-6);
    EXPECT_NEAR(n(2, 2), 0, 1e-6);
}

TEST(Quaternion, HamiltonProduct) {
    const Quaternion i(1, 0, 0, 0), j(0, 1, 0, 0), k(0, 0, 1, 0);
    const Quaternion ij = i * j;
    EXPECT_EQ(ij.z, 1.0f);
    EXPECT_EQ(ij.x + ij.y + ij.w, 0.0f);
    const Quaternion ji = j * i;
    EXPECT_EQ(ji.z, -1.0f);
    const Quaternion kk = k * k;
    EXPECT_EQ(kk.w, -1.0f);

    // Two quarter turns about z make a half turn.
    const Quaternion quarter = Quaternion::rotation({0, 0, 1}, pi / 2);
    const Quaternion half = quarter * quarter;
    EXPECT_NEAR(half.z, 1, 1e-6);
    EXPECT_NEAR(half.w, 0, 1e-6);
}

} // namespace
} // namespace tandrel
