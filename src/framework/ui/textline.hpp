#pragma once

#include "framework/core/drawable.hpp"
#include "framework/ui/font.hpp"
#include "support/image/color.hpp"
#include "support/math/vector.hpp"

#include <cstdint>
#include <string>

namespace tandrel {

enum class Alignment : std::int32_t { Left = 0, Right = 1, Center = 2 };

// One line of text at an anchor on the baseline. Keeps the text's width so
// that right and centre alignment cost nothing per frame. Does not own the font.
class TextLine : public Drawable {
public:
    TextLine(Font& font, const std::string& text, Vector2f position);

    void draw(double dt) override;
    void free() override;
    virtual void setFont(Font& newFont);
    virtual void setText(const std::string& newText);
    virtual void setPosition(Vector2f newPosition);
    virtual void setPosition(float x, float y);

    Font* font;
    Vector2f position;
    float scale = 1.0f;
    Alignment alignment = Alignment::Left;
    Color4f color{0, 0, 0, 1};
    std::string text;
    // Always font->textWidth(text), in unscaled pixels.
    float width;
};

} // namespace tandrel
