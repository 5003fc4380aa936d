#include "support/math/matrix.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <type_traits>

namespace tandrel {
namespace {

static_assert(std::is_trivially_copyable_v<Matrix> && std::is_standard_layout_v<Matrix>);

Matrix fromFlat(const float (&values)[16]) {
    Matrix m;
    for (int i = 0; i < 16; ++i) m.set(values[i], i);
    return m;
}

void expectFlatEq(const Matrix& actual, const Matrix& expected) {
    for (int i = 0; i < 16; ++i) EXPECT_EQ(actual[i], expected[i]) << "flat index " << i;
}

void expectNearIdentity(const Matrix& m) {
    const Matrix identity;
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(m[i], identity[i], 1e-5) << "flat index " << i;
}

const Matrix general = fromFlat({2, 1, 0, 1, 0, 3, 1, 0, 1, 0, 4, 2, 3, 2, 1, 5});

TEST(Matrix, LayoutIsColumnMajor) {
    Matrix m = Matrix::translation({1, 2, 3});
    EXPECT_EQ(m[12], 1.0f);
    EXPECT_EQ(m[13], 2.0f);
    EXPECT_EQ(m[14], 3.0f);
    EXPECT_EQ(m(0, 3), 1.0f);
    EXPECT_EQ(m(2, 3), 3.0f);
    m(1, 2) = 9;
    EXPECT_EQ(m[9], 9.0f);
}

TEST(Matrix, ProductIsRowTimesColumn) {
    const Matrix a = fromFlat({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});
    expectFlatEq(a * Matrix(), a);
    expectFlatEq(Matrix() * a, a);
    // Translations compose by adding their offsets.
    expectFlatEq(Matrix::translation({1, 2, 3}) * Matrix::translation({4, 5, 6}),
                 Matrix::translation({5, 7, 9}));
    // (A x B)(0, 1) = sum over k of A(0, k) B(k, 1).
    const Matrix ab = a * general;
    EXPECT_EQ(ab(0, 1), 1 * 0.0f + 5 * 3.0f + 9 * 1.0f + 13 * 0.0f);
}

TEST(Matrix, AffineTestLooksAtTheBottomRowExactly) {
    EXPECT_TRUE(Matrix::translation({1, 2, 3}).isAffine());
    EXPECT_FALSE(general.isAffine());
    Matrix m;
    m.set(1.0000001f, 15);
    EXPECT_FALSE(m.isAffine());
}

TEST(Matrix, InverseOfTranslationTakesTheAffinePath) {
    const Matrix t = Matrix::translation({1, 2, 3});
    const Matrix expected = Matrix::translation({-1, -2, -3});
    expectFlatEq(t.affineInverse(), expected);
    expectFlatEq(t.inverse(), t.affineInverse());
    Matrix inPlace = t;
    inPlace.invert();
    expectFlatEq(inPlace, expected);
}

TEST(Matrix, AffineInverseUndoesRotationScaleAndTranslation) {
    const Matrix m = fromFlat({0, 2, 0, 0, -1, 0, 0, 0, 0, 0, 4, 0, 5, -3, 7, 1});
    expectNearIdentity(m.inverse() * m);
    expectNearIdentity(m * m.inverse());
}

TEST(Matrix, GeneralInverseTimesMatrixIsIdentity) {
    expectNearIdentity(general.inverse() * general);
    expectNearIdentity(general * general.generalInverse());
}

TEST(Matrix, SingularMatrixGivesInfinities) {
    Matrix singular;
    singular.set(0, 0);
    EXPECT_TRUE(std::isinf(singular.inverse()[0]));
}

TEST(Matrix, FlatWriteOutsideTheMatrixThrowsAndChangesNothing) {
    Matrix m;
    for (int index : {16, 17, -1, -16}) {
        try {
            m.set(42, index);
            ADD_FAILURE() << "no exception for index " << index;
        } catch (const std::out_of_range& e) {
            EXPECT_EQ(std::string(e.what()),
                      "Matrix.opIndexAssign(T t, int index): array index out of bounds");
        }
    }
    expectFlatEq(m, Matrix());
}

} // namespace
} // namespace tandrel
