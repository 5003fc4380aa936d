#include "support/image/image.hpp"

#include "binding/util/exception.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace tandrel {
namespace {

template <typename... Images>
std::vector<std::unique_ptr<SuperImage>> oneOfEach(std::uint32_t w, std::uint32_t h) {
    std::vector<std::unique_ptr<SuperImage>> all;
    (all.push_back(std::make_unique<Images>(w, h)), ...);
    return all;
}

TEST(Image, EveryFormatKeepsWhatItCanHoldThroughCloneAndBlank) {
    const char* names[] = {"L8", "LA8", "RGB8", "RGBA8", "L16", "LA16", "RGB16", "RGBA16"};
    auto all = oneOfEach<ImageL8, ImageLA8, ImageRGB8, ImageRGBA8, ImageL16, ImageLA16, ImageRGB16, ImageRGBA16>(5, 3);
    for (std::size_t i = 0; i < all.size(); ++i) {
        SuperImage& image = *all[i];
        SCOPED_TRACE(names[i]);
        const std::uint32_t depth = i < 4 ? 8 : 16, channels = i % 4 + 1;
        EXPECT_EQ(toString(image.pixelFormat()), names[i]);
        EXPECT_EQ(image.pixels().size(), 15 * depth / 8 * channels);
        image.setColorAt(Color4f(0.25f, 0.5f, 0.75f, 0.5f), 4, 2);
        // Truncated to the sample size; grey from red; opaque without alpha.
        const auto q = [depth](float v) { return std::floor(v * float((1u << depth) - 1)) / float((1u << depth) - 1); };
        const float alpha = channels % 2 == 0 ? q(0.5f) : 1;
        const Color4f want =
            channels <= 2 ? Color4f(q(0.25f), q(0.25f), q(0.25f), alpha) : Color4f(q(0.25f), q(0.5f), q(0.75f), alpha);
        EXPECT_EQ(image.clone()->colorAt(4, 2), want);
        auto blank = image.createBlank(2, 7);
        EXPECT_EQ(blank->pixelFormat(), image.pixelFormat());
        EXPECT_EQ((std::pair{blank->width(), blank->height()}), (std::pair{2u, 7u}));
        EXPECT_EQ(blank->pixels().size(), 14 * depth / 8 * channels);
        EXPECT_EQ(blank->colorAt(1, 6), Color4f(0, 0, 0, channels % 2 == 0 ? 0 : 1));
    }
    EXPECT_EQ(toString(PixelFormat::RGBA_FLOAT), "RGBA_FLOAT");
}

TEST(Image, SamplesClampAndSitRowMajorHighByteFirst) {
    ImageRGB8 rgb(4, 4);
    rgb.setColorAt(Color4f(1.5f, -0.2f, 0.5f, 1), 1, 2);
    EXPECT_EQ((std::vector<int>{rgb.pixels()[27], rgb.pixels()[28], rgb.pixels()[29]}),
              (std::vector<int>{255, 0, 127}));
    rgb.setColorAt(Color4f(std::nanf(""), 1, 1, 1), 0, 3);
    EXPECT_EQ(rgb.colorAt(-3, 7), Color4f(0, 1, 1, 1)); // clamped to (0, 3)
    ImageL16 wide(3, 2);
    wide.pixels()[10] = 0x12;
    wide.pixels()[11] = 0x34;
    EXPECT_FLOAT_EQ(wide.colorAt(2, 1).r(), float(0x1234) / 65535);
    ImageL8 grey(1, 1);
    grey.pixels()[0] = 51;
    EXPECT_EQ(grey.colorAt(0, 0), Color4f(0.2f, 0.2f, 0.2f, 1));
    // Without pixels there is no nearest edge: reads are transparent, writes vanish.
    for (auto [w, h] : {std::pair{0u, 0u}, {0u, 5u}, {5u, 0u}}) {
        ImageRGBA16 empty(w, h);
        empty.setColorAt(Color4f(1, 1, 1, 1), 2, 2);
        EXPECT_EQ(empty.colorAt(0, 0), Color4f(0, 0, 0, 0));
    }
}

TEST(Image, LuminanceAlphaTakesAlphaFromAlpha) {
    ImageLA8 image(1, 1);
    image.setColorAt(Color4f(0.2f, 0.6f, 0, 0.8f), 0, 0);
    EXPECT_EQ((std::vector<int>{image.pixels()[0], image.pixels()[1]}), (std::vector<int>{51, 204}));
}

TEST(Image, RefusesWhatItCannotStore) {
    try {
        ImageRGBA16 huge(0xFFFFFFFF, 0xFFFFFFFF);
        ADD_FAILURE() << "a byte count past std::size_t was taken";
    } catch (const VandorException& e) {
        EXPECT_STREQ(e.what(), "Image of 4294967295 x 4294967295 RGBA16 pixels is too large to store");
    }
    for (std::uint32_t depth : {0u, 17u, 32u}) {
        EXPECT_THROW(Color4f(1, 1, 1, 1).toInteger(depth), VandorException) << depth;
        EXPECT_THROW(Color4f::fromInteger({1, 1, 1, 1}, depth), VandorException) << depth;
    }
}

} // namespace
} // namespace tandrel
