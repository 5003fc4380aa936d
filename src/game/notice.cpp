#include "game/notice.hpp"

#include "binding/opengl/gl.hpp"

namespace tandrel {

namespace {
constexpr float width = 400;
constexpr float top = 450;
constexpr float height = 130;
constexpr float lineHeight = 26;
} // namespace

Notice::Notice(Font& font)
    : lines{TextLine(font, "", {}), TextLine(font, "", {}), TextLine(font, "", {}), TextLine(font, "", {})} {
    for (std::size_t i = 0; i < lineCount; ++i) {
        lines[i].alignment = Alignment::Center;
        // The headline in the gold of the board's captions, so it stands out.
        lines[i].color = i == 0 ? Color4f(0xEFAD3F) : Color4f(1, 1, 1, 1);
    }
}

void Notice::show(const std::array<std::string, lineCount>& text) {
    for (std::size_t i = 0; i < lineCount; ++i)
        if (lines[i].text != text[i]) lines[i].setText(text[i]);
}

void Notice::draw(double dt) {
    if (lines[0].text.empty()) return;
    gl.glPushMatrix();
    gl.glTranslatef(position.x, position.y, 0);
    gl.glColor4f(0, 0, 0, 0.8f);
    gl.glBegin(GL_QUADS);
    gl.glVertex2f(0, top - height);
    gl.glVertex2f(width, top - height);
    gl.glVertex2f(width, top);
    gl.glVertex2f(0, top);
    gl.glEnd();
    gl.glPopMatrix();
    for (std::size_t i = 0; i < lineCount; ++i) {
        lines[i].setPosition(position + Vector2f(width / 2, top - 35 - lineHeight * static_cast<float>(i)));
        lines[i].draw(dt);
    }
}

} // namespace tandrel
