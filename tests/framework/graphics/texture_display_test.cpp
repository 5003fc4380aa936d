// Textures in a real OpenGL context: what goes in comes back out.

#include <gtest/gtest.h>

#include "binding/opengl/gl.hpp"
#include "fixtures/display.hpp"
#include "framework/graphics/texture.hpp"

#include <algorithm>

namespace tandrel {
namespace {

// Level 0 as the driver holds it, as bytes of the given format.
std::vector<std::uint8_t> texels(const Texture& texture, GLenum format = GL_RGB, std::size_t channels = 3) {
    GLint w = 0, h = 0;
    gl.glBindTexture(GL_TEXTURE_2D, texture.tex);
    gl.glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    gl.glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    std::vector<std::uint8_t> out(std::size_t(w) * std::size_t(h) * channels);
    gl.glPixelStorei(GL_PACK_ALIGNMENT, 1);
    gl.glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, out.data());
    return out;
}

TEST(TextureOnDisplay, CopiesTheFramesLowerLeftAndUploadsUnalignedRows) {
    ASSERT_NO_FATAL_FAILURE(test::requireDisplay());
    ASSERT_NO_FATAL_FAILURE(test::openTestWindow(320, 200));
    // A frame whose every pixel differs from its neighbours.
    std::vector<std::uint8_t> frame(320 * 200 * 3);
    for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<std::uint8_t>(i * 7 + i / 960);
    gl.glWindowPos2i(0, 0);
    gl.glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    gl.glDrawPixels(320, 200, GL_RGB, GL_UNSIGNED_BYTE, frame.data());
    Texture capture(256, 128);
    capture.copyFramebuffer();
    std::vector<std::uint8_t> lowerLeft;
    for (std::size_t y = 0; y < 128; ++y)
        lowerLeft.insert(lowerLeft.end(), frame.begin() + long(y * 960), frame.begin() + long(y * 960 + 768));
    EXPECT_TRUE(texels(capture) == lowerLeft);

    // Rows of 6 bytes: at OpenGL's default 4-byte alignment every row after
    // the first would be read 2 bytes late. (The mipmap builder rescales sizes
    // that are not powers of two, so only such sizes read back unchanged.)
    gl.glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    ImageRGB8 image(2, 4);
    for (int i = 0; i < 8; ++i) image.setColorAt(Color4f(i / 8.0f, 1 - i / 8.0f, 0.5f, 1), i % 2, i / 2);
    Texture uploaded;
    uploaded.createFromImage(image, false);
    EXPECT_TRUE(std::ranges::equal(texels(uploaded), image.pixels()));
}

TEST(TextureOnDisplay, SixteenBitSamplesArriveHighByteFirst) {
    ASSERT_NO_FATAL_FAILURE(test::requireDisplay());
    ASSERT_NO_FATAL_FAILURE(test::openTestWindow(64, 64));
    // Low bytes below 0x80, so that the driver's rounding to its 8-bit
    // texels keeps the high byte; read byte-swapped, every texel would come
    // back as the low byte instead.
    ImageRGBA16 image(2, 2);
    std::vector<std::uint8_t> high;
    for (std::size_t i = 0; i < image.pixels().size(); i += 2) {
        image.pixels()[i] = static_cast<std::uint8_t>(0x90 + i);
        image.pixels()[i + 1] = static_cast<std::uint8_t>(0x10 + i);
        high.push_back(image.pixels()[i]);
    }
    Texture uploaded;
    uploaded.createFromImage(image, true);
    EXPECT_EQ(texels(uploaded, GL_RGBA, 4), high);
}

} // namespace
} // namespace tandrel
