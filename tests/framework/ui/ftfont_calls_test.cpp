#include <gtest/gtest.h>

#include "binding/freetype/freetype.hpp"
#include "fixtures/recorder.hpp"
#include "framework/ui/ftfont.hpp"
#include "framework/ui/utf8.hpp"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

namespace tandrel {
namespace {

using test::Call;
using test::calls;

const char* const fontPath = TANDREL_BUILD_DIR "/data/fonts/clearsans/ClearSans-Bold.ttf";

// Texture names 1, 2, 3, ... in the order they are asked for.
GLuint nextName = 1;
void fakeGenTextures(GLsizei n, GLuint* names) {
    test::calls().push_back(Call{"glGenTextures", {double(n)}});
    for (GLsizei i = 0; i < n; ++i) names[i] = nextName++;
}

// The texel buffers handed to glTexImage2D, by texture bound at the time.
GLuint boundTexture = 0;
std::vector<std::pair<GLuint, std::vector<std::uint8_t>>> uploads;
void fakeBindTexture(GLenum, GLuint name) { boundTexture = name; }
void fakeTexImage2D(GLenum, GLint, GLint, GLsizei w, GLsizei h, GLint, GLenum, GLenum, const void* data) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    uploads.emplace_back(boundTexture, std::vector<std::uint8_t>(bytes, bytes + 2 * w * h));
}

// Real FreeType, recorded OpenGL.
class FontCalls : public ::testing::Test {
protected:
    void SetUp() override {
        vandorFT().load();
        savedFT = ft;
        gl.glGenTextures = &fakeGenTextures;
    }
    void TearDown() override { ft = savedFT; }

    test::RecordingTable table;
    FTTable savedFT;
};

TEST_F(FontCalls, ConstructionBakesAsciiIntoOneBatchOfTextures) {
    FreeTypeFont font(fontPath, 27);
    EXPECT_EQ(font.height, 27.0f);
    EXPECT_EQ(test::callsNamed("glGenTextures"), (std::vector<Call>{{"glGenTextures", {128}}}));
    ASSERT_EQ(font.glyphs.size(), 128u);
    for (char32_t code = 0; code < 128; ++code) EXPECT_EQ(font.glyphs.at(code).textureId, code + 1);

    const auto images = test::callsNamed("glTexImage2D");
    ASSERT_EQ(images.size(), 128u);
    const Glyph& a = font.glyphs.at('A');
    const Call& imageOfA = images['A'];
    EXPECT_EQ(std::vector<double>(imageOfA.args.begin(), imageOfA.args.end() - 1),
              (std::vector<double>{GL_TEXTURE_2D, 0, GL_RGBA, double(a.width), double(a.height), 0, GL_LUMINANCE_ALPHA,
                                   GL_UNSIGNED_BYTE}));
    const auto parameters = test::callsNamed("glTexParameteri");
    ASSERT_EQ(parameters.size(), 4u * 128);
    const std::vector<Call> firstFour(parameters.begin(), parameters.begin() + 4);
    EXPECT_EQ(firstFour,
              (std::vector<Call>{{"glTexParameteri", {GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST}},
                                 {"glTexParameteri", {GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR}},
                                 {"glTexParameteri", {GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE}},
                                 {"glTexParameteri", {GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE}}}));
}

TEST_F(FontCalls, StagedTexelsAreWhiteWithCoverageInAlpha) {
    gl.glBindTexture = &fakeBindTexture;
    gl.glTexImage2D = &fakeTexImage2D;
    FreeTypeFont font(fontPath, 16);
    for (char32_t code : {U'A', U'g', U' '}) {
        const Glyph& glyph = font.glyphs.at(code);
        const FT_Bitmap& bitmap = glyph.ftGlyph->bitmap;
        const auto upload = std::ranges::find(uploads, glyph.textureId, &decltype(uploads)::value_type::first);
        ASSERT_NE(upload, uploads.end());
        const std::vector<std::uint8_t>& texels = upload->second;
        for (int y = 0; y < glyph.height; ++y) {
            for (int x = 0; x < glyph.width; ++x) {
                const std::size_t at = 2 * (std::size_t(x) + std::size_t(y) * glyph.width);
                const bool inside = x < int(bitmap.width) && y < int(bitmap.rows);
                ASSERT_EQ(texels[at], 255);
                ASSERT_EQ(texels[at + 1], inside ? bitmap.buffer[y * bitmap.pitch + x] : 0)
                    << char(code) << " at " << x << "," << y;
            }
        }
    }
}

TEST_F(FontCalls, GlyphIsOneTexturedQuadThenAnAdvance) {
    FreeTypeFont font(fontPath, 27);
    calls().clear();
    font.draw("A");
    const Glyph& g = font.glyphs.at('A');
    const auto w = float(g.ftGlyph->bitmap.width);
    const auto r = float(g.ftGlyph->bitmap.rows);
    const float s1 = 0.5f / float(g.width) + w / float(g.width);
    const float t1 = 0.5f / float(g.height) + r / float(g.height);
    const std::vector<Call> expected{
        {"glBindTexture", {GL_TEXTURE_2D, double(g.textureId)}},
        {"glPushMatrix", {}},
        {"glTranslatef", {double(g.ftGlyph->left), 0, 0}},
        {"glTranslatef", {0, double(float(g.ftGlyph->top) - r), 0}},
        {"glBegin", {GL_QUADS}},
        {"glTexCoord2f", {0, 0}},
        {"glVertex2f", {0, r}},
        {"glTexCoord2f", {0, t1}},
        {"glVertex2f", {0, 0}},
        {"glTexCoord2f", {s1, t1}},
        {"glVertex2f", {w, 0}},
        {"glTexCoord2f", {s1, 0}},
        {"glVertex2f", {w, r}},
        {"glEnd", {}},
        {"glPopMatrix", {}},
        {"glTranslatef", {double(g.advanceX >> 6), 0, 0}},
        {"glBindTexture", {GL_TEXTURE_2D, 0}},
    };
    EXPECT_EQ(calls(), expected);
}

TEST_F(FontCalls, ControlCharactersAndInvalidTextDrawNothing) {
    FreeTypeFont font(fontPath, 16);
    calls().clear();
    font.draw("\t\n\x7f");
    EXPECT_THROW(font.draw("ok\xff"), Utf8Exception);
    EXPECT_THROW(font.textWidth("\xc3"), Utf8Exception);
    EXPECT_TRUE(calls().empty());
    EXPECT_EQ(font.textWidth(""), 0.0f);
    EXPECT_EQ(font.textWidth("\t\n\x7f"), 0.0f);
}

bool faceOpened = false;
FT_Error recordingNewFace(FT_Library, const char*, FT_Long, FT_Face*) {
    faceOpened = true;
    return 1;
}
FT_Error failingLoadGlyph(FT_Face, FT_UInt, FT_Int32) { return 1; }
FT_Error failingGetGlyph(FT_GlyphSlot, FT_Glyph*) { return 1; }
FT_Error failingToBitmap(FT_Glyph*, FT_Render_Mode, const FT_Vector*, FT_Bool) { return 1; }
FT_Error failingInit(FT_Library*) { return 1; }

std::string constructionFailure(const std::string& path) {
    try {
        FreeTypeFont font(path, 16);
    } catch (const VandorException& e) {
        return e.what();
    }
    return "no failure";
}

TEST_F(FontCalls, FailuresRaiseTheirMessages) {
    ft.FT_New_Face = &recordingNewFace;
    EXPECT_EQ(constructionFailure("/nonexistent/font.ttf"), "Cannot find font file /nonexistent/font.ttf");
    EXPECT_FALSE(faceOpened) << "the path is checked before FreeType opens anything";
    EXPECT_EQ(constructionFailure(fontPath), "FT_New_Face failed (there is probably a problem with your font file)");
    ft = savedFT;
    EXPECT_EQ(constructionFailure(TANDREL_SOURCE_DIR "/locale/de_DE.lang"),
              "FT_New_Face failed (there is probably a problem with your font file)");

    ft.FT_Load_Glyph = &failingLoadGlyph;
    EXPECT_EQ(constructionFailure(fontPath), "FT_Load_Glyph failed");
    ft = savedFT;
    ft.FT_Get_Glyph = &failingGetGlyph;
    EXPECT_EQ(constructionFailure(fontPath), "FT_Get_Glyph failed");
    ft = savedFT;
    ft.FT_Glyph_To_Bitmap = &failingToBitmap;
    EXPECT_EQ(constructionFailure(fontPath), "FT_Glyph_To_Bitmap failed");
    ft = savedFT;
    ft.FT_Init_FreeType = &failingInit;
    EXPECT_EQ(constructionFailure(fontPath), "FT_Init_FreeType failed");
}

} // namespace
} // namespace tandrel
