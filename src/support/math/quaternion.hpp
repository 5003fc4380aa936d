#pragma once

#include "support/math/matrix.hpp"
#include "support/math/vector.hpp"

namespace tandrel {

// A rotation quaternion (x, y, z, w), w the scalar part.
struct Quaternion {
    float x = 0, y = 0, z = 0, w = 1;

    // No rotation.
    constexpr Quaternion() = default;
    constexpr Quaternion(float x, float y, float z, float w) : x(x), y(y), z(z), w(w) {}
    // A turn of `angle` radians about `axis`; the axis is taken as given, so
    // callers pass a unit axis.
    static Quaternion rotation(const Vector3f& axis, float angle);

    // Hamilton product: applying the result rotates by q first, then by *this.
    Quaternion operator*(const Quaternion& q) const;
    // The rotation matrix of a unit quaternion, column-major.
    Matrix toMatrix() const;
};

} // namespace tandrel
