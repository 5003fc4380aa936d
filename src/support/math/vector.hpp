#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace tandrel {

// Fixed-size value vectors; only the sizes the framework uses exist.
template <typename T, std::size_t N>
struct Vector;

template <typename T>
struct Vector<T, 2> {
    T x{}, y{};

    constexpr Vector() = default;
    constexpr Vector(T x, T y) : x(x), y(y) {}

    T setX(T v) { return x = v; }
    T setY(T v) { return y = v; }

    constexpr Vector operator+(const Vector& o) const { return {x + o.x, y + o.y}; }
    constexpr Vector operator-(const Vector& o) const { return {x - o.x, y - o.y}; }
    Vector& operator+=(const Vector& o) {
        x += o.x;
        y += o.y;
        return *this;
    }
    constexpr bool operator==(const Vector&) const = default;

    constexpr T lengthSquared() const { return x * x + y * y; }
    T length() const { return std::sqrt(lengthSquared()); }
    // Leaves a zero (or not-a-number) vector unchanged.
    void normalize() {
        T sq = lengthSquared();
        if (sq > 0) {
            T inv = T(1) / std::sqrt(sq);
            x *= inv;
            y *= inv;
        }
    }
};

template <typename T>
struct Vector<T, 3> {
    T x{}, y{}, z{};

    constexpr Vector() = default;
    constexpr Vector(T x, T y, T z) : x(x), y(y), z(z) {}

    constexpr Vector operator-(const Vector& o) const { return {x - o.x, y - o.y, z - o.z}; }
    constexpr Vector operator/(T s) const { return {x / s, y / s, z / s}; }
    Vector& operator+=(const Vector& o) {
        x += o.x;
        y += o.y;
        z += o.z;
        return *this;
    }
    constexpr bool operator==(const Vector&) const = default;
};

template <typename T>
struct Vector<T, 4> {
    T x{}, y{}, z{}, w{};

    constexpr Vector() = default;
    constexpr Vector(T x, T y, T z, T w) : x(x), y(y), z(z), w(w) {}
    constexpr bool operator==(const Vector&) const = default;
};

using Vector2f = Vector<float, 2>;
using Vector3f = Vector<float, 3>;
using Vector4f = Vector<float, 4>;
using Vector4us = Vector<std::uint16_t, 4>;

} // namespace tandrel
