#include "support/image/image.hpp"

#include "binding/util/exception.hpp"

#include <algorithm>
#include <limits>
#include <string>

namespace tandrel {

std::string_view toString(PixelFormat format) {
    // Texture errors end with this name; callers match on it.
    static constexpr std::string_view names[] = {"L8",   "LA8",   "RGB8",   "RGBA8",     "L16",
                                                 "LA16", "RGB16", "RGBA16", "RGBA_FLOAT"};
    const auto index = static_cast<std::size_t>(format);
    return index < std::size(names) ? names[index] : std::string_view("Unknown");
}

namespace {

// Refuses sizes whose byte count wraps around: the wrapped, smaller array
// would let pixel access run past its end.
std::size_t byteCount(std::uint32_t width, std::uint32_t height, std::uint32_t bytesPerPixel, PixelFormat format) {
    constexpr auto max = std::numeric_limits<std::size_t>::max();
    const std::size_t w = width, h = height, bytes = bytesPerPixel;
    if (w != 0 && h != 0 && (h > max / w || bytes > max / (w * h)))
        throw VandorException("Image of " + std::to_string(width) + " x " + std::to_string(height) + " " +
                              std::string(toString(format)) + " pixels is too large to store");
    return w * h * bytes;
}

} // namespace

template <PixelFormat Format>
Image<Format>::Image(std::uint32_t width, std::uint32_t height)
    : width_(width), height_(height), pixels_(byteCount(width, height, bytesPerPixel(), Format), 0) {}

template <PixelFormat Format>
std::unique_ptr<SuperImage> Image<Format>::clone() const {
    return std::make_unique<Image>(*this);
}

template <PixelFormat Format>
std::unique_ptr<SuperImage> Image<Format>::createBlank(std::uint32_t width, std::uint32_t height) const {
    return std::make_unique<Image>(width, height);
}

template <PixelFormat Format>
std::size_t Image<Format>::offset(std::int32_t x, std::int32_t y) const {
    const auto cx = static_cast<std::size_t>(std::clamp<std::int64_t>(x, 0, std::int64_t(width_) - 1));
    const auto cy = static_cast<std::size_t>(std::clamp<std::int64_t>(y, 0, std::int64_t(height_) - 1));
    return (cy * width_ + cx) * bytesPerPixel();
}

namespace {

template <std::uint32_t BitDepth>
std::uint16_t readSample(const std::uint8_t* p) {
    if constexpr (BitDepth == 16)
        return static_cast<std::uint16_t>(p[0] << 8 | p[1]);
    else
        return p[0];
}

template <std::uint32_t BitDepth>
void writeSample(std::uint8_t* p, std::uint16_t value) {
    if constexpr (BitDepth == 16) {
        p[0] = static_cast<std::uint8_t>(value >> 8);
        p[1] = static_cast<std::uint8_t>(value);
    } else {
        p[0] = static_cast<std::uint8_t>(value);
    }
}

} // namespace

template <PixelFormat Format>
Color4f Image<Format>::colorAt(std::int32_t x, std::int32_t y) const {
    if (pixels_.empty()) return {0, 0, 0, 0};
    constexpr std::uint32_t step = formatBitDepth / 8;
    const std::uint8_t* p = pixels_.data() + offset(x, y);
    const auto sample = [p](std::uint32_t channel) { return readSample<formatBitDepth>(p + channel * step); };
    const auto opaque = static_cast<std::uint16_t>((1u << formatBitDepth) - 1);
    Vector4us c;
    if constexpr (formatChannels <= 2) {
        c.x = c.y = c.z = sample(0);
        c.w = formatChannels == 2 ? sample(1) : opaque;
    } else {
        c = {sample(0), sample(1), sample(2), formatChannels == 4 ? sample(3) : opaque};
    }
    return Color4f::fromInteger(c, formatBitDepth);
}

template <PixelFormat Format>
void Image<Format>::setColorAt(const Color4f& color, std::int32_t x, std::int32_t y) {
    if (pixels_.empty()) return;
    constexpr std::uint32_t step = formatBitDepth / 8;
    std::uint8_t* p = pixels_.data() + offset(x, y);
    const Vector4us c = color.toInteger(formatBitDepth);
    // Luminance takes the red sample; alpha is the last channel when present.
    const std::uint16_t samples[4] = {c.x, formatChannels == 2 ? c.w : c.y, c.z, c.w};
    for (std::uint32_t channel = 0; channel < formatChannels; ++channel)
        writeSample<formatBitDepth>(p + channel * step, samples[channel]);
}

template class Image<PixelFormat::L8>;
template class Image<PixelFormat::LA8>;
template class Image<PixelFormat::RGB8>;
template class Image<PixelFormat::RGBA8>;
template class Image<PixelFormat::L16>;
template class Image<PixelFormat::LA16>;
template class Image<PixelFormat::RGB16>;
template class Image<PixelFormat::RGBA16>;

} // namespace tandrel
