#include "support/math/matrix.hpp"

namespace tandrel {

MatrixIndexError::MatrixIndexError()
    : std::out_of_range("Matrix.opIndexAssign(T t, int index): array index out of bounds") {}

Matrix::Matrix() : elements_{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1} {}

Matrix Matrix::translation(const Vector3f& t) {
    Matrix m;
    m.elements_[12] = t.x;
    m.elements_[13] = t.y;
    m.elements_[14] = t.z;
    return m;
}

void Matrix::set(float t, int index) {
    // The index is signed, so both ends need checking.
    if (index < 0 || index >= 16) throw MatrixIndexError();
    elements_[index] = t;
}

Matrix Matrix::operator*(const Matrix& b) const {
    Matrix c;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            float sum = 0;
            for (int k = 0; k < 4; ++k) sum += (*this)(i, k) * b(k, j);
            c(i, j) = sum;
        }
    }
    return c;
}

bool Matrix::isAffine() const {
    return elements_[3] == 0 && elements_[7] == 0 && elements_[11] == 0 && elements_[15] == 1;
}

Matrix Matrix::inverse() const { return isAffine() ? affineInverse() : generalInverse(); }

Matrix Matrix::affineInverse() const {
    const Matrix& m = *this;
    // Cofactors of the 3 x 3 block, transposed into place as they are computed.
    float inv[3][3];
    inv[0][0] = m(1, 1) * m(2, 2) - m(1, 2) * m(2, 1);
    inv[0][1] = m(0, 2) * m(2, 1) - m(0, 1) * m(2, 2);
    inv[0][2] = m(0, 1) * m(1, 2) - m(0, 2) * m(1, 1);
    inv[1][0] = m(1, 2) * m(2, 0) - m(1, 0) * m(2, 2);
    inv[1][1] = m(0, 0) * m(2, 2) - m(0, 2) * m(2, 0);
    inv[1][2] = m(0, 2) * m(1, 0) - m(0, 0) * m(1, 2);
    inv[2][0] = m(1, 0) * m(2, 1) - m(1, 1) * m(2, 0);
    inv[2][1] = m(0, 1) * m(2, 0) - m(0, 0) * m(2, 1);
    inv[2][2] = m(0, 0) * m(1, 1) - m(0, 1) * m(1, 0);
    const float det = m(0, 0) * inv[0][0] + m(0, 1) * inv[1][0] + m(0, 2) * inv[2][0];
    const float invDet = 1.0f / det;

    Matrix r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) r(i, j) = inv[i][j] * invDet;
    for (int i = 0; i < 3; ++i) {
        float sum = 0;
        for (int k = 0; k < 3; ++k) sum += r(i, k) * m(k, 3);
        r(i, 3) = -sum;
    }
    return r;
}

namespace {
// Determinant of the 3 x 3 minor of m without row `row` and column `column`.
float minor3(const Matrix& m, int row, int column) {
    int rows[3], cols[3];
    for (int i = 0, n = 0; i < 4; ++i)
        if (i != row) rows[n++] = i;
    for (int j = 0, n = 0; j < 4; ++j)
        if (j != column) cols[n++] = j;
    auto a = [&](int i, int j) { return m(rows[i], cols[j]); };
    return a(0, 0) * (a(1, 1) * a(2, 2) - a(1, 2) * a(2, 1)) - a(0, 1) * (a(1, 0) * a(2, 2) - a(1, 2) * a(2, 0)) +
           a(0, 2) * (a(1, 0) * a(2, 1) - a(1, 1) * a(2, 0));
}
} // namespace

Matrix Matrix::generalInverse() const {
    Matrix cofactors;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) cofactors(i, j) = ((i + j) % 2 == 0 ? 1.0f : -1.0f) * minor3(*this, i, j);
    float det = 0;
    for (int j = 0; j < 4; ++j) det += (*this)(0, j) * cofactors(0, j);
    const float invDet = 1.0f / det;

    Matrix r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) r(i, j) = cofactors(j, i) * invDet;
    return r;
}

} // namespace tandrel
