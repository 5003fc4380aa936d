#pragma once

#include <string>

namespace tandrel {

// Draws and measures single lines of UTF-8 text in the fixed-function pipeline.
class Font {
public:
    explicit Font(float height) : height(height) {}
    virtual ~Font() = default;
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // Draws text with the pen starting at the model-view origin, on the
    // baseline, advancing along +x; leaves the matrix translated by the width.
    virtual void draw(const std::string& text) = 0;
    // The distance draw moves the pen for this text, in pixels.
    virtual float textWidth(const std::string& text) = 0;

    // The nominal size the font was made with.
    float height;
};

} // namespace tandrel
