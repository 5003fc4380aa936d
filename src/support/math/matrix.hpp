#pragma once

#include "support/math/vector.hpp"

#include <stdexcept>

namespace tandrel {

// Raised for a flat write outside the sixteen elements; a programming error.
class MatrixIndexError : public std::out_of_range {
public:
    MatrixIndexError();
};

// A 4 x 4 float matrix stored column-major, so data() can go straight to
// OpenGL: element (row r, column c) is at flat index 4c + r and the
// translation sits at flat indices 12, 13, 14.
class Matrix {
public:
    // The identity.
    Matrix();
    // The identity moved by t.
    static Matrix translation(const Vector3f& t);

    float& operator()(int row, int column) { return elements_[column * 4 + row]; }
    float operator()(int row, int column) const { return elements_[column * 4 + row]; }
    // Flat read; callers pass 0 to 15.
    float operator[](int index) const { return elements_[index]; }
    // Flat write, checked: any index outside 0 to 15 throws MatrixIndexError.
    void set(float t, int index);
    const float* data() const { return elements_; }

    Matrix operator*(const Matrix& b) const;

    // Bottom row exactly (0, 0, 0, 1).
    bool isAffine() const;
    // Picks the affine path when it applies. A singular matrix is not
    // detected: the result holds infinities.
    Matrix inverse() const;
    void invert() { *this = inverse(); }
    // Inverts the upper-left 3 x 3 block and carries the translation across;
    // meaningful only for affine matrices.
    Matrix affineInverse() const;
    // Adjugate over determinant; valid for any invertible matrix.
    Matrix generalInverse() const;

private:
    float elements_[16];
};

using Matrix4f = Matrix;

} // namespace tandrel
