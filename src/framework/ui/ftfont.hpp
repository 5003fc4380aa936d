#pragma once

#include "binding/freetype/freetype.hpp"
#include "framework/ui/font.hpp"

#include <cstdint>
#include <string>
#include <unordered_map>

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
// baked at construction, other code points on first use. Needs a current
// OpenGL context from construction on.
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
    void bakeGlyph(char32_t code, std::uint32_t textureId);
    char32_t loadChar(char32_t code);
    float renderGlyph(char32_t code);
    std::int32_t glyphAdvance(char32_t code);
    const Glyph& glyph(char32_t code);
    void release();
};

} // namespace tandrel
