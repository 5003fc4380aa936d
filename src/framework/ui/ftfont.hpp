#pragma once

#include "binding/freetype/freetype.hpp"
#include "framework/ui/font.hpp"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace tandrel {

// One code point rendered into its own texture.
struct Glyph {
    std::uint32_t textureId;
    // Holds the bearings (left, top) and the bitmap's width and rows.
    FT_BitmapGlyph ftGlyph;
    // Texture size in texels, powers of two covering the bitmap.
    std::int32_t width;
    std::int32_t height;
    // Pen advance in 26.6 fixed point.
    std::int32_t advanceX;
};

// The smallest power of two not below n; 1 for n <= 1.
std::int32_t nextPowerOfTwo(std::int32_t n);

// A TrueType font rasterised by FreeType, one texture per glyph. ASCII is
// baked at construction, other code points on first use. Inside a layer drawn
// at another scale than one pixel per unit, glyphs are rasterised again at the
// size they are shown, for the last few scales seen. Needs a current OpenGL
// context from construction on.
class FreeTypeFont : public Font {
public:
    FreeTypeFont(const std::string& filename, std::uint32_t height);
    ~FreeTypeFont() override;

    void draw(const std::string& text) override;
    float textWidth(const std::string& text) override;

    FT_Face ftFace = nullptr;
    FT_Library ftLibrary = nullptr;
    std::unordered_map<char32_t, Glyph> glyphs;

private:
    using GlyphMap = std::unordered_map<char32_t, Glyph>;
    // The glyphs of one scale, with the draw that last used them.
    struct ScaledGlyphs {
        FT_F26Dot6 charSize = 0;
        std::uint64_t lastUse = 0;
        GlyphMap glyphs;
    };
    // Enough for a window and a full screen; a window dragged through many
    // sizes replaces the one used longest ago.
    static constexpr std::size_t scalesKept = 4;

    Glyph bakeGlyph(char32_t code, std::uint32_t textureId);
    Glyph loadGlyph(char32_t code, FT_F26Dot6 charSize);
    void setCharSize(FT_F26Dot6 charSize);
    void renderGlyph(const Glyph& shown, std::int32_t advanceX, float unit);
    std::int32_t glyphAdvance(char32_t code);
    const Glyph& glyph(char32_t code);
    const Glyph& scaledGlyph(ScaledGlyphs& scaled, char32_t code);
    ScaledGlyphs& glyphsAt(FT_F26Dot6 charSize);
    void freeGlyphs(GlyphMap& map, bool hasContext);
    void release();

    FT_F26Dot6 baseCharSize = 0;
    FT_F26Dot6 faceCharSize = 0;
    std::vector<ScaledGlyphs> scales;
    std::uint64_t draws = 0;
};

} // namespace tandrel
