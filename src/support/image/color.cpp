#include "support/image/color.hpp"

#include "binding/util/exception.hpp"

#include <algorithm>
#include <cmath>
#include <string>

namespace tandrel {

namespace {
// Samples are 16 bits wide at most; a depth of 32 or more would also be an
// undefined shift.
float maxSample(std::uint32_t bitDepth) {
    if (bitDepth < 1 || bitDepth > 16)
        throw VandorException("Bit depth " + std::to_string(bitDepth) + " is outside 1 to 16");
    return static_cast<float>((1u << bitDepth) - 1);
}

std::uint16_t toSample(float component, float max) {
    const float unit = std::isnan(component) ? 0.0f : std::clamp(component, 0.0f, 1.0f);
    return static_cast<std::uint16_t>(unit * max);
}
} // namespace

Color4f Color4f::fromInteger(const Vector4us& samples, std::uint32_t bitDepth) {
    const float max = maxSample(bitDepth);
    return {samples.x / max, samples.y / max, samples.z / max, samples.w / max};
}

Vector4us Color4f::toInteger(std::uint32_t bitDepth) const {
    const float max = maxSample(bitDepth);
    return {toSample(x, max), toSample(y, max), toSample(z, max), toSample(w, max)};
}

} // namespace tandrel
