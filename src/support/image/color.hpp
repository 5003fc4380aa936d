#pragma once

#include "support/math/vector.hpp"

#include <cstdint>

namespace tandrel {

// A colour of four floats, nominally 0 to 1; alpha 1 is opaque. Its storage is
// the 4-float vector, whose components it names r, g, b, a.
struct Color4f : Vector4f {
    constexpr Color4f() = default;
    constexpr Color4f(float r, float g, float b, float a) : Vector4f(r, g, b, a) {}
    // From a packed 0xRRGGBB value; bits 24 to 31 are ignored.
    explicit constexpr Color4f(std::uint32_t packed)
        : Vector4f(float((packed >> 16) & 0xFF) / 255.0f, float((packed >> 8) & 0xFF) / 255.0f,
                   float(packed & 0xFF) / 255.0f, 1.0f) {}
    // The colour of integer samples of the given bit depth (8 or 16). Raises
    // VandorException for a depth outside 1 to 16.
    static Color4f fromInteger(const Vector4us& samples, std::uint32_t bitDepth);

    constexpr float& r() { return x; }
    constexpr float& g() { return y; }
    constexpr float& b() { return z; }
    constexpr float& a() { return w; }
    constexpr float r() const { return x; }
    constexpr float g() const { return y; }
    constexpr float b() const { return z; }
    constexpr float a() const { return w; }

    // Samples of the given bit depth: each component clamped to [0, 1] (a
    // not-a-number counts as 0), scaled to 2^bitDepth - 1 and truncated.
    // Raises VandorException for a depth outside 1 to 16.
    Vector4us toInteger(std::uint32_t bitDepth) const;
};

} // namespace tandrel
