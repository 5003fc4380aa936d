#include "framework/ui/ftfont.hpp"

#include "binding/opengl/gl.hpp"
#include "framework/core/layer.hpp"
#include "framework/ui/utf8.hpp"

#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace tandrel {

namespace {

// Control characters and DEL are skipped without advancing the pen.
bool isDrawn(char32_t code) { return code > 0x7F || (code >= 0x20 && code <= 0x7E); }

} // namespace

std::int32_t nextPowerOfTwo(std::int32_t n) {
    std::int32_t value = 1;
    while (value < n) value *= 2;
    return value;
}

FreeTypeFont::FreeTypeFont(const std::string& filename, std::uint32_t height) : Font(static_cast<float>(height)) {
    if (ft.FT_Init_FreeType(&ftLibrary) != 0) {
        ftLibrary = nullptr;
        throw VandorException("FT_Init_FreeType failed");
    }
    try {
        // Checked up front so that a wrong path is reported as such, not as a
        // broken font file.
        std::error_code ignored;
        if (!std::filesystem::exists(filename, ignored)) throw VandorException("Cannot find font file " + filename);
        if (ft.FT_New_Face(ftLibrary, filename.c_str(), 0, &ftFace) != 0) {
            ftFace = nullptr;
            throw VandorException("FT_New_Face failed (there is probably a problem with your font file)");
        }
        // Points in 26.6 fixed point at 96 dpi: 27 gives a 36-pixel em.
        baseCharSize = static_cast<FT_F26Dot6>(height) * 64;
        setCharSize(baseCharSize);
        std::array<GLuint, 128> names{};
        gl.glGenTextures(static_cast<GLsizei>(names.size()), names.data());
        for (char32_t code = 0; code < names.size(); ++code)
            glyphs.insert_or_assign(code, bakeGlyph(code, names[code]));
    } catch (...) {
        release();
        throw;
    }
}

FreeTypeFont::~FreeTypeFont() { release(); }

void FreeTypeFont::freeGlyphs(GlyphMap& map, bool hasContext) {
    for (auto& [code, glyph] : map) {
        if (hasContext) gl.glDeleteTextures(1, &glyph.textureId);
        ft.FT_Done_Glyph(reinterpret_cast<FT_Glyph>(glyph.ftGlyph));
    }
    map.clear();
}

void FreeTypeFont::release() {
    // Without a current context the textures are already gone with it.
    const bool hasContext = vandorGL().hasContext();
    freeGlyphs(glyphs, hasContext);
    for (auto& scaled : scales) freeGlyphs(scaled.glyphs, hasContext);
    scales.clear();
    if (ftFace) ft.FT_Done_Face(ftFace);
    if (ftLibrary) ft.FT_Done_FreeType(ftLibrary);
    ftFace = nullptr;
    ftLibrary = nullptr;
}

void FreeTypeFont::setCharSize(FT_F26Dot6 charSize) {
    if (charSize == faceCharSize) return;
    ft.FT_Set_Char_Size(ftFace, charSize, charSize, 96, 96);
    faceCharSize = charSize;
}

Glyph FreeTypeFont::bakeGlyph(char32_t code, std::uint32_t textureId) {
    const FT_UInt index = ft.FT_Get_Char_Index(ftFace, code);
    if (ft.FT_Load_Glyph(ftFace, index, FT_LOAD_DEFAULT) != 0) throw VandorException("FT_Load_Glyph failed");
    FT_Glyph image = nullptr;
    if (ft.FT_Get_Glyph(ftFace->glyph, &image) != 0) throw VandorException("FT_Get_Glyph failed");
    // On failure FreeType leaves the original glyph alive, so it is ours to free.
    if (ft.FT_Glyph_To_Bitmap(&image, FT_RENDER_MODE_NORMAL, nullptr, 1) != 0) {
        ft.FT_Done_Glyph(image);
        throw VandorException("FT_Glyph_To_Bitmap failed");
    }
    auto* bitmapGlyph = reinterpret_cast<FT_BitmapGlyph>(image);
    const FT_Bitmap& bitmap = bitmapGlyph->bitmap;
    const auto width = static_cast<std::int32_t>(bitmap.width);
    const auto rows = static_cast<std::int32_t>(bitmap.rows);
    const std::int32_t texWidth = nextPowerOfTwo(width);
    const std::int32_t texHeight = nextPowerOfTwo(rows);

    // Luminance-alpha pairs: full white, coverage in alpha, so the text takes
    // the current colour. Rows are read at the bitmap's own pitch, which may
    // exceed its width; a negative pitch stores the rows bottom-up.
    std::vector<unsigned char> texels(2 * static_cast<std::size_t>(texWidth) * static_cast<std::size_t>(texHeight));
    for (std::size_t i = 0; i < texels.size(); i += 2) texels[i] = 255;
    const int pitch = bitmap.pitch;
    for (std::int32_t y = 0; y < rows; ++y) {
        const unsigned char* row = bitmap.buffer + (pitch >= 0 ? y : rows - 1 - y) * std::abs(pitch);
        for (std::int32_t x = 0; x < width; ++x)
            texels[2 * (static_cast<std::size_t>(x) + static_cast<std::size_t>(y) * texWidth) + 1] = row[x];
    }

    gl.glBindTexture(GL_TEXTURE_2D, textureId);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    gl.glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, texWidth, texHeight, 0, GL_LUMINANCE_ALPHA, GL_UNSIGNED_BYTE,
                    texels.data());

    return Glyph{textureId, bitmapGlyph, texWidth, texHeight, static_cast<std::int32_t>(ftFace->glyph->advance.x)};
}

Glyph FreeTypeFont::loadGlyph(char32_t code, FT_F26Dot6 charSize) {
    setCharSize(charSize);
    GLuint name = 0;
    gl.glGenTextures(1, &name);
    try {
        return bakeGlyph(code, name);
    } catch (...) {
        gl.glDeleteTextures(1, &name);
        throw;
    }
}

const Glyph& FreeTypeFont::glyph(char32_t code) {
    auto found = glyphs.find(code);
    if (found != glyphs.end()) return found->second;
    return glyphs.emplace(code, loadGlyph(code, baseCharSize)).first->second;
}

const Glyph& FreeTypeFont::scaledGlyph(ScaledGlyphs& scaled, char32_t code) {
    auto found = scaled.glyphs.find(code);
    if (found != scaled.glyphs.end()) return found->second;
    return scaled.glyphs.emplace(code, loadGlyph(code, scaled.charSize)).first->second;
}

FreeTypeFont::ScaledGlyphs& FreeTypeFont::glyphsAt(FT_F26Dot6 charSize) {
    ScaledGlyphs* oldest = nullptr;
    for (auto& scaled : scales) {
        if (scaled.charSize == charSize) return scaled;
        if (!oldest || scaled.lastUse < oldest->lastUse) oldest = &scaled;
    }
    if (scales.size() < scalesKept) return scales.emplace_back(ScaledGlyphs{charSize, 0, {}});
    freeGlyphs(oldest->glyphs, true);
    oldest->charSize = charSize;
    return *oldest;
}

// unit is scene units per texel: 1 for the font's own size, less where the
// glyph was rasterised larger for a layer drawn larger.
void FreeTypeFont::renderGlyph(const Glyph& g, std::int32_t advanceX, float unit) {
    const auto w = static_cast<float>(g.ftGlyph->bitmap.width);
    const auto r = static_cast<float>(g.ftGlyph->bitmap.rows);
    const auto texWidth = static_cast<float>(g.width);
    const auto texHeight = static_cast<float>(g.height);

    gl.glBindTexture(GL_TEXTURE_2D, g.textureId);
    gl.glPushMatrix();
    gl.glTranslatef(static_cast<float>(g.ftGlyph->left) * unit, 0, 0);
    gl.glTranslatef(0, (static_cast<float>(g.ftGlyph->top) - r) * unit, 0);
    // Half a texel past the bitmap's right and bottom edges.
    const float s1 = 0.5f / texWidth + w / texWidth;
    const float t1 = 0.5f / texHeight + r / texHeight;
    gl.glBegin(GL_QUADS);
    gl.glTexCoord2f(0, 0);
    gl.glVertex2f(0, r * unit);
    gl.glTexCoord2f(0, t1);
    gl.glVertex2f(0, 0);
    gl.glTexCoord2f(s1, t1);
    gl.glVertex2f(w * unit, 0);
    gl.glTexCoord2f(s1, 0);
    gl.glVertex2f(w * unit, r * unit);
    gl.glEnd();
    gl.glPopMatrix();

    // The pen keeps the font's own advances, so text is as wide at any scale
    // as textWidth says.
    gl.glTranslatef(static_cast<float>(advanceX >> 6), 0, 0);
    gl.glBindTexture(GL_TEXTURE_2D, 0);
}

std::int32_t FreeTypeFont::glyphAdvance(char32_t code) { return glyph(code).advanceX >> 6; }

void FreeTypeFont::draw(const std::string& text) {
    // Validated first so that malformed text draws nothing rather than half.
    for (std::size_t pos = 0; pos < text.size();) decodeUtf8(text, pos);
    const float scale = drawingScale();
    const auto charSize = static_cast<FT_F26Dot6>(std::lround(height * scale * 64));
    ScaledGlyphs* scaled = charSize == baseCharSize || charSize <= 0 ? nullptr : &glyphsAt(charSize);
    if (scaled) scaled->lastUse = ++draws;
    for (std::size_t pos = 0; pos < text.size();) {
        const char32_t code = decodeUtf8(text, pos);
        if (!isDrawn(code)) continue;
        const Glyph& own = glyph(code);
        if (scaled)
            renderGlyph(scaledGlyph(*scaled, code), own.advanceX, 1.0f / scale);
        else
            renderGlyph(own, own.advanceX, 1.0f);
    }
}

float FreeTypeFont::textWidth(const std::string& text) {
    float width = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const char32_t code = decodeUtf8(text, pos);
        if (isDrawn(code)) width += static_cast<float>(glyphAdvance(code));
    }
    return width;
}

} // namespace tandrel
