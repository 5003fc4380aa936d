// Textures in a real OpenGL context: what goes in comes back out.

#include <gtest/gtest.h>

#include "binding/opengl/gl.hpp"
#include "framework/graphics/texture.hpp"
#include "support/display.hpp"

#include <vector>

namespace tandrel {
namespace {

class TextureOnDisplay : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(test::requireDisplay());
        ASSERT_NO_FATAL_FAILURE(test::openTestWindow(320, 200));
    }

    // Level 0 as the driver holds it.
    static std::vector<std::uint8_t> texels(Texture& texture, GLenum format, std::size_t channels) {
        GLint w = 0, h = 0;
        gl.glBindTexture(GL_TEXTURE_2D, texture.tex);
        gl.glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
        gl.glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
        std::vector<std::uint8_t> out(std::size_t(w) * std::size_t(h) * channels);
        gl.glPixelStorei(GL_PACK_ALIGNMENT, 1);
        gl.glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, out.data());
        return out;
    }
};

TEST_F(TextureOnDisplay, CopyTakesExactlyTheLowerLeftRectangle) {
    // A different colour on every pixel of a 320 x 200 frame.
    std::vector<std::uint8_t> frame(320 * 200 * 3);
    for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<std::uint8_t>(i * 7 + i / 960);
    Texture target(256, 128);
    gl.glDisable(GL_TEXTURE_2D);
    gl.glWindowPos2i(0, 0);
    gl.glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    gl.glDrawPixels(320, 200, GL_RGB, GL_UNSIGNED_BYTE, frame.data());
    gl.glReadBuffer(GL_BACK);
    target.copyFramebuffer();

    const auto copied = texels(target, GL_RGB, 3);
    ASSERT_EQ(copied.size(), 256u * 128 * 3);
    std::size_t mismatches = 0;
    for (std::size_t y = 0; y < 128; ++y)
        for (std::size_t x = 0; x < 256; ++x)
            for (std::size_t c = 0; c < 3; ++c)
                mismatches += copied[(y * 256 + x) * 3 + c] != frame[(y * 320 + x) * 3 + c];
    EXPECT_EQ(mismatches, 0u);
}

// Rows of 6 bytes: read with OpenGL's default 4-byte row alignment, every
// row after the first would start 2 bytes late. (The mipmap builder rescales
// sizes that are not powers of two, so only such sizes read back unchanged.)
TEST_F(TextureOnDisplay, RowsThatAreNotWholeWordsUploadUnchanged) {
    ImageRGB8 image(2, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 2; ++x) image.setColorAt(Color4f(x / 2.0f, y / 4.0f, 1, 1), x, y);
    Texture texture;
    texture.createFromImage(image, false);
    EXPECT_EQ(texels(texture, GL_RGB, 3), image.pixels());
    texture.bind(0);
    texture.free();
    EXPECT_FALSE(gl.glIsTexture(texture.tex));
}

} // namespace
} // namespace tandrel
