#include "support/math/matrix.hpp"

#include <gtest/gtest.h>

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

void expectFlatEq(const Matrix& actual, const Matrix& expected, float tolerance = 0) {
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual[i], expected[i], tolerance) << "flat index " << i;
}

const Matrix general = fromFlat({2, 1, 0, 1, 0, 3, 1, 0, 1, 0, 4, 2, 3, 2, 1, 5});

TEST(Matrix, ColumnMajorLayoutAndProduct) {
    Matrix m = Matrix::translation({1, 2, 3});
    EXPECT_EQ(m(2, 3), 3.0f);
    m(1, 2) = 9;
    EXPECT_EQ(m[9], 9.0f);

    expectFlatEq(general * Matrix(), general);
    expectFlatEq(Matrix() * general, general);
    // (A x B)(i, j) takes row i of A and column j of B, not the other way round.
    EXPECT_EQ((m * general)(1, 2), 9.0f * 4 + 2 * 2);
}

TEST(Matrix, InverseOfTranslationTakesTheAffinePath) {
    const Matrix t = Matrix::translation({1, 2, 3});
    EXPECT_TRUE(t.isAffine());
    expectFlatEq(t.affineInverse(), Matrix::translation({-1, -2, -3}));
    expectFlatEq(t.inverse(), t.affineInverse());
    Matrix inPlace = t;
    inPlace.invert();
    expectFlatEq(inPlace, Matrix::translation({-1, -2, -3}));

    // Rotation, scale and translation together.
    const Matrix m = fromFlat({0, 2, 0, 0, -1, 0, 0, 0, 0, 0, 4, 0, 5, -3, 7, 1});
    expectFlatEq(m.inverse() * m, Matrix(), 1e-5f);
}

TEST(Matrix, GeneralInverseTimesMatrixIsIdentity) {
    EXPECT_FALSE(general.isAffine());
    expectFlatEq(general.inverse() * general, Matrix(), 1e-5f);
    expectFlatEq(general * general.generalInverse(), Matrix(), 1e-5f);
}

TEST(Matrix, FlatWriteOutsideTheMatrixThrowsAndChangesNothing) {
    Matrix m;
    for (int index : {16, -1}) {
        try {
            m.set(42, index);
            ADD_FAILURE() << "no exception for index " << index;
        } catch (const std::out_of_range& e) {
            EXPECT_EQ(std::string(e.what()), "Matrix.opIndexAssign(T t, int index): array index out of bounds");
        }
    }
    expectFlatEq(m, Matrix());
}

} // namespace
} // namespace tandrel
