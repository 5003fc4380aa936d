#include "support/math/quaternion.hpp"

#include <cmath>

namespace tandrel {

Quaternion Quaternion::rotation(const Vector3f& axis, float angle) {
    const float s = std::sin(angle / 2);
    return {axis.x * s, axis.y * s, axis.z * s, std::cos(angle / 2)};
}

Quaternion Quaternion::operator*(const Quaternion& q) const {
    return {w * q.x + x * q.w + y * q.z - z * q.y, w * q.y + y * q.w + z * q.x - x * q.z,
            w * q.z + z * q.w + x * q.y - y * q.x, w * q.w - x * q.x - y * q.y - z * q.z};
}

Matrix Quaternion::toMatrix() const {
    const float values[16] = {1 - 2 * (y * y + z * z),
                              2 * (z * w + x * y),
                              2 * (x * z - y * w),
                              0,
                              2 * (x * y - z * w),
                              1 - 2 * (z * z + x * x),
                              2 * (x * w + z * y),
                              0,
                              2 * (y * w + x * z),
                              2 * (y * z - x * w),
                              1 - 2 * (y * y + x * x),
                              0,
                              0,
                              0,
                              0,
                              1};
    Matrix m;
    for (int i = 0; i < 16; ++i) m.set(values[i], i);
    return m;
}

} // namespace tandrel
