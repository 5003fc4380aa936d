#pragma once

#include "support/image/color.hpp"

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace tandrel {

enum class PixelFormat : std::int32_t {
    L8 = 0,
    LA8 = 1,
    RGB8 = 2,
    RGBA8 = 3,
    L16 = 4,
    LA16 = 5,
    RGB16 = 6,
    RGBA16 = 7,
    RGBA_FLOAT = 8, // declared for textures to refuse; no image class holds it
};

// The member's name exactly ("RGBA_FLOAT"): error messages carry it.
std::string_view toString(PixelFormat format);

// An in-memory raster image of one pixel format.
class SuperImage {
public:
    virtual ~SuperImage() = default;
    virtual std::uint32_t width() const = 0;
    virtual std::uint32_t height() const = 0;
    virtual std::uint32_t bitDepth() const = 0;
    virtual std::uint32_t channelCount() const = 0;
    virtual std::uint32_t bytesPerPixel() const = 0;
    virtual PixelFormat pixelFormat() const = 0;
    // Row-major, no row padding, channels interleaved, 16-bit samples high
    // byte first. A view of fixed size: pixel access and uploads rely on the
    // storage keeping width x height x bytesPerPixel bytes.
    virtual std::span<std::uint8_t> pixels() = 0;
    virtual std::unique_ptr<SuperImage> clone() const = 0;
    // Coordinates outside the image clamp to the nearest edge pixel. Luminance
    // reads as grey; a format without alpha reads opaque. An image without
    // pixels reads transparent black.
    virtual Color4f colorAt(std::int32_t x, std::int32_t y) const = 0;
    // Stores the channels the format has (luminance from red); an image
    // without pixels ignores the write.
    virtual void setColorAt(const Color4f& color, std::int32_t x, std::int32_t y) = 0;
    // A zero-filled image of the same format.
    virtual std::unique_ptr<SuperImage> createBlank(std::uint32_t width, std::uint32_t height) const = 0;
};

// One concrete image class per integer pixel format; they differ only in the
// format's channel count and sample size.
template <PixelFormat Format>
class Image : public SuperImage {
public:
    static_assert(Format >= PixelFormat::L8 && Format <= PixelFormat::RGBA16, "integer formats only");
    static constexpr std::uint32_t formatChannels = static_cast<std::uint32_t>(Format) % 4 + 1;
    static constexpr std::uint32_t formatBitDepth = Format >= PixelFormat::L16 ? 16 : 8;

    // Zero-filled. Raises VandorException when width x height x
    // bytesPerPixel does not fit in std::size_t.
    Image(std::uint32_t width, std::uint32_t height);

    std::uint32_t width() const override { return width_; }
    std::uint32_t height() const override { return height_; }
    std::uint32_t bitDepth() const override { return formatBitDepth; }
    std::uint32_t channelCount() const override { return formatChannels; }
    std::uint32_t bytesPerPixel() const override { return formatBitDepth / 8 * formatChannels; }
    PixelFormat pixelFormat() const override { return Format; }
    std::span<std::uint8_t> pixels() override { return pixels_; }
    std::unique_ptr<SuperImage> clone() const override;
    Color4f colorAt(std::int32_t x, std::int32_t y) const override;
    void setColorAt(const Color4f& color, std::int32_t x, std::int32_t y) override;
    std::unique_ptr<SuperImage> createBlank(std::uint32_t width, std::uint32_t height) const override;

private:
    std::size_t offset(std::int32_t x, std::int32_t y) const;

    std::uint32_t width_;
    std::uint32_t height_;
    std::vector<std::uint8_t> pixels_;
};

using ImageL8 = Image<PixelFormat::L8>;
using ImageLA8 = Image<PixelFormat::LA8>;
using ImageRGB8 = Image<PixelFormat::RGB8>;
using ImageRGBA8 = Image<PixelFormat::RGBA8>;
using ImageL16 = Image<PixelFormat::L16>;
using ImageLA16 = Image<PixelFormat::LA16>;
using ImageRGB16 = Image<PixelFormat::RGB16>;
using ImageRGBA16 = Image<PixelFormat::RGBA16>;

extern template class Image<PixelFormat::L8>;
extern template class Image<PixelFormat::LA8>;
extern template class Image<PixelFormat::RGB8>;
extern template class Image<PixelFormat::RGBA8>;
extern template class Image<PixelFormat::L16>;
extern template class Image<PixelFormat::LA16>;
extern template class Image<PixelFormat::RGB16>;
extern template class Image<PixelFormat::RGBA16>;

} // namespace tandrel
