#include <gtest/gtest.h>

#include "binding/opengl/gl.hpp"
#include "fixtures/display.hpp"
#include "framework/ui/ftfont.hpp"
#include "framework/ui/textline.hpp"

#include <memory>
#include <set>
#include <vector>

namespace tandrel {
namespace {

const char* const fontPath = TANDREL_BUILD_DIR "/data/fonts/clearsans/ClearSans-Bold.ttf";
constexpr int windowWidth = 320;
constexpr int windowHeight = 128;

// Counts texture names asked for, passing the request on to the driver.
decltype(gl.glGenTextures) realGenTextures = nullptr;
int namesGenerated = 0;
void countingGenTextures(GLsizei n, GLuint* names) {
    namesGenerated += n;
    realGenTextures(n, names);
}

class FontOnDisplay : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(test::requireDisplay());
        ASSERT_NO_FATAL_FAILURE(test::openTestWindow(windowWidth, windowHeight));
        font = std::make_unique<FreeTypeFont>(fontPath, 27);
    }
    std::unique_ptr<FreeTypeFont> font;
};

GLint textureLevelSize(GLuint name, GLenum which) {
    GLint value = 0;
    gl.glBindTexture(GL_TEXTURE_2D, name);
    gl.glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, which, &value);
    gl.glBindTexture(GL_TEXTURE_2D, 0);
    return value;
}

TEST_F(FontOnDisplay, AsciiTexturesArePowersOfTwoAndReleasedWithTheFont) {
    std::set<GLuint> names;
    for (char32_t code = 0; code < 128; ++code) {
        const Glyph& glyph = font->glyphs.at(code);
        const GLint w = textureLevelSize(glyph.textureId, GL_TEXTURE_WIDTH);
        const GLint h = textureLevelSize(glyph.textureId, GL_TEXTURE_HEIGHT);
        EXPECT_EQ(w, glyph.width);
        EXPECT_EQ(h, glyph.height);
        EXPECT_EQ(w & (w - 1), 0) << "code " << unsigned(code);
        EXPECT_EQ(h & (h - 1), 0) << "code " << unsigned(code);
        EXPECT_GE(w, GLint(glyph.ftGlyph->bitmap.width));
        EXPECT_GE(h, GLint(glyph.ftGlyph->bitmap.rows));
        names.insert(glyph.textureId);
    }
    EXPECT_EQ(names.size(), 128u);
    font.reset();
    for (GLuint name : names) EXPECT_FALSE(gl.glIsTexture(name));
}

TEST_F(FontOnDisplay, SpaceIsATransparentTexelThatAdvances) {
    const Glyph& space = font->glyphs.at(' ');
    EXPECT_EQ(space.width, 1);
    EXPECT_EQ(space.height, 1);
    std::uint8_t rgba[4] = {1, 1, 1, 1};
    gl.glBindTexture(GL_TEXTURE_2D, space.textureId);
    gl.glPixelStorei(GL_PACK_ALIGNMENT, 1);
    gl.glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    EXPECT_EQ(rgba[3], 0);
    EXPECT_GT(font->textWidth(" "), 0.0f);
    EXPECT_EQ(font->textWidth("a b"), font->textWidth("ab") + font->textWidth(" "));
}

TEST_F(FontOnDisplay, NonAsciiGlyphIsMadeOnceOnFirstUse) {
    realGenTextures = gl.glGenTextures;
    gl.glGenTextures = &countingGenTextures;
    const std::size_t before = font->glyphs.size();
    TextLine line(*font, "Caf\u00e9", {0, 0});
    EXPECT_EQ(font->glyphs.size(), before + 1);
    EXPECT_EQ(namesGenerated, 1);
    EXPECT_EQ(line.width, font->textWidth("Caf") + float(font->glyphs.at(U'\u00e9').advanceX >> 6));
    font->draw("\u00e9\u00e9");
    line.setText("\u00e9t\u00e9");
    EXPECT_EQ(font->glyphs.size(), before + 1);
    EXPECT_EQ(namesGenerated, 1);
    gl.glGenTextures = realGenTextures;
}

float penX() {
    float matrix[16];
    gl.glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
    return matrix[12];
}

TEST_F(FontOnDisplay, WidthIsThePenMovementOfDraw) {
    gl.glMatrixMode(GL_MODELVIEW);
    for (const char* text : {"", "Score: 1234", "Du hast gewonnen!\t", "\u0421\u0447\u0451\u0442 \u00a1!"}) {
        gl.glLoadIdentity();
        font->draw(text);
        EXPECT_EQ(penX(), font->textWidth(text)) << text;
    }
}

TEST_F(FontOnDisplay, TextLineDrawsInsideItsMeasuredBox) {
    gl.glViewport(0, 0, windowWidth, windowHeight);
    gl.glMatrixMode(GL_PROJECTION);
    gl.glLoadIdentity();
    gl.glOrtho(0, windowWidth, 0, windowHeight, -1, 1);
    gl.glMatrixMode(GL_MODELVIEW);
    gl.glLoadIdentity();
    gl.glClearColor(0, 0, 0, 1);
    gl.glClear(GL_COLOR_BUFFER_BIT);

    const Vector2f anchor(20, 40);
    TextLine line(*font, "Tandrel", anchor);
    line.color = Color4f(0xFF0000);
    line.draw(0);
    gl.glFinish();

    // 27 points at 96 dpi.
    const float em = 27.0f * 96 / 72;
    std::vector<std::uint8_t> pixels(4 * windowWidth * windowHeight);
    gl.glReadBuffer(GL_BACK);
    gl.glPixelStorei(GL_PACK_ALIGNMENT, 1);
    gl.glReadPixels(0, 0, windowWidth, windowHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    int red = 0, minX = windowWidth, maxX = -1, minY = windowHeight, maxY = -1;
    for (int y = 0; y < windowHeight; ++y) {
        for (int x = 0; x < windowWidth; ++x) {
            const std::uint8_t* p = &pixels[4 * (x + y * windowWidth)];
            if (p[0] < 128 || p[1] > 32 || p[2] > 32) continue;
            ++red;
            minX = std::min(minX, x), maxX = std::max(maxX, x);
            minY = std::min(minY, y), maxY = std::max(maxY, y);
        }
    }
    const int slack = 3;
    EXPECT_GT(red, 200);
    EXPECT_GE(minX, anchor.x - slack);
    EXPECT_LE(maxX, anchor.x + line.width + slack);
    EXPECT_GE(minY, anchor.y - slack) << "no descender in the text";
    EXPECT_LE(maxY, anchor.y + em + slack);
    // The capital T reaches well above the baseline: the glyphs are upright.
    EXPECT_GT(maxY, anchor.y + em / 2);
    EXPECT_LT(minX, anchor.x + 6);
    EXPECT_GT(maxX, anchor.x + line.width - 8);
}

} // namespace
} // namespace tandrel
