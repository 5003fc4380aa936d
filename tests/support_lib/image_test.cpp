#include "support/image/image.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tandrel {
namespace {

std::unique_ptr<SuperImage> makeImage(PixelFormat format, std::uint32_t w, std::uint32_t h) {
    switch (format) {
    case PixelFormat::L8: return std::make_unique<ImageL8>(w, h);
    case PixelFormat::LA8: return std::make_unique<ImageLA8>(w, h);
    case PixelFormat::RGB8: return std::make_unique<ImageRGB8>(w, h);
    case PixelFormat::RGBA8: return std::make_unique<ImageRGBA8>(w, h);
    case PixelFormat::L16: return std::make_unique<ImageL16>(w, h);
    case PixelFormat::LA16: return std::make_unique<ImageLA16>(w, h);
    case PixelFormat::RGB16: return std::make_unique<ImageRGB16>(w, h);
    case PixelFormat::RGBA16: return std::make_unique<ImageRGBA16>(w, h);
    default: return nullptr;
    }
}

TEST(Color, ConversionToSamplesClampsScalesAndTruncates) {
    EXPECT_EQ(Color4f(1.5f, -0.2f, 0.5f, 1).toInteger(8), Vector4us(255, 0, 127, 255));
    EXPECT_EQ(Color4f(std::nanf(""), 1, 0.5f, 0).toInteger(16), Vector4us(0, 65535, 32767, 0));
    EXPECT_EQ(Color4f(0xFFFFFFu), Color4f(1, 1, 1, 1));
    EXPECT_EQ(Color4f(0u), Color4f(0, 0, 0, 1));
}

TEST(Image, FormatsDescribeThemselves) {
    const struct {
        PixelFormat format;
        const char* name;
        std::uint32_t bitDepth, channels;
    } table[] = {{PixelFormat::L8, "L8", 8, 1},       {PixelFormat::LA8, "LA8", 8, 2},
                 {PixelFormat::RGB8, "RGB8", 8, 3},   {PixelFormat::RGBA8, "RGBA8", 8, 4},
                 {PixelFormat::L16, "L16", 16, 1},    {PixelFormat::LA16, "LA16", 16, 2},
                 {PixelFormat::RGB16, "RGB16", 16, 3}, {PixelFormat::RGBA16, "RGBA16", 16, 4}};
    EXPECT_EQ(toString(PixelFormat::RGBA_FLOAT), "RGBA_FLOAT");
    for (const auto& row : table) {
        SCOPED_TRACE(row.name);
        auto image = makeImage(row.format, 5, 3);
        EXPECT_EQ(toString(row.format), row.name);
        EXPECT_EQ(image->pixelFormat(), row.format);
        EXPECT_EQ(image->bitDepth(), row.bitDepth);
        EXPECT_EQ(image->channelCount(), row.channels);
        EXPECT_EQ(image->bytesPerPixel(), row.bitDepth / 8 * row.channels);
        EXPECT_EQ(image->pixels().size(), 15u * image->bytesPerPixel());

        // A colour written at (4, 2) comes back as the format can hold it, and
        // survives clone; createBlank keeps only the format.
        image->setColorAt(Color4f(0.25f, 0.5f, 0.75f, 0.5f), 4, 2);
        const float max = float((1u << row.bitDepth) - 1);
        const float q25 = std::floor(0.25f * max) / max, q50 = std::floor(0.5f * max) / max,
                    q75 = std::floor(0.75f * max) / max;
        const bool grey = row.channels <= 2, alpha = row.channels % 2 == 0;
        const Color4f want = grey ? Color4f(q25, q25, q25, alpha ? q50 : 1) : Color4f(q25, q50, q75, alpha ? q50 : 1);
        EXPECT_EQ(image->colorAt(4, 2), want);
        EXPECT_EQ(image->clone()->colorAt(4, 2), want);
        EXPECT_EQ(image->colorAt(3, 2), Color4f(0, 0, 0, alpha ? 0 : 1));
        auto blank = image->createBlank(2, 7);
        EXPECT_EQ(blank->pixelFormat(), row.format);
        EXPECT_EQ(blank->width(), 2u);
        EXPECT_EQ(blank->height(), 7u);
        EXPECT_EQ(blank->colorAt(1, 6), Color4f(0, 0, 0, alpha ? 0 : 1));
    }
}

TEST(Image, StorageIsRowMajorWithBigEndianSamples) {
    ImageL16 wide(3, 2);
    wide.pixels()[(1 * 3 + 2) * 2] = 0x12;
    wide.pixels()[(1 * 3 + 2) * 2 + 1] = 0x34;
    EXPECT_FLOAT_EQ(wide.colorAt(2, 1).r(), float(0x1234) / 65535);
    ImageRGB8 rgb(4, 4);
    rgb.setColorAt(Color4f(1.5f, -0.2f, 0.5f, 1), 1, 2);
    EXPECT_EQ(rgb.pixels()[(2 * 4 + 1) * 3 + 0], 255);
    EXPECT_EQ(rgb.pixels()[(2 * 4 + 1) * 3 + 1], 0);
    EXPECT_EQ(rgb.pixels()[(2 * 4 + 1) * 3 + 2], 127);
    ImageL8 grey(1, 1);
    grey.pixels()[0] = 51;
    EXPECT_EQ(grey.colorAt(0, 0), Color4f(0.2f, 0.2f, 0.2f, 1));
}

TEST(Image, CoordinatesClampToTheNearestEdge) {
    ImageRGBA8 image(4, 4);
    const Color4f red(1, 0, 0, 1), blue(0, 0, 1, 1);
    image.setColorAt(red, 0, 3);
    EXPECT_EQ(image.colorAt(-3, 7), red);
    image.setColorAt(blue, 100, -100);  // lands on (3, 0)
    EXPECT_EQ(image.colorAt(3, 0), blue);
    EXPECT_EQ(image.colorAt(std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::min()),
              blue);
}

TEST(Image, AnImageWithoutPixelsReadsTransparentAndIgnoresWrites) {
    for (auto [w, h] : {std::pair{0u, 0u}, {0u, 5u}, {5u, 0u}}) {
        ImageRGBA16 image(w, h);
        image.setColorAt(Color4f(1, 1, 1, 1), 2, 2);
        EXPECT_TRUE(image.pixels().empty());
        EXPECT_EQ(image.colorAt(0, 0), Color4f(0, 0, 0, 0));
    }
}

} // namespace
} // namespace tandrel
