#include "framework/ui/textline.hpp"

#include "binding/opengl/gl.hpp"

namespace tandrel {

TextLine::TextLine(Font& font, const std::string& text, Vector2f position)
    : font(&font), position(position), text(text), width(font.textWidth(text)) {}

void TextLine::draw(double) {
    gl.glPushAttrib(GL_LIST_BIT | GL_ENABLE_BIT | GL_TRANSFORM_BIT | GL_CURRENT_BIT);
    gl.glDisable(GL_LIGHTING);
    gl.glEnable(GL_TEXTURE_2D);
    gl.glDisable(GL_DEPTH_TEST);
    gl.glEnable(GL_BLEND);
    gl.glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    gl.glColor4f(color.r(), color.g(), color.b(), color.a());
    gl.glPushMatrix();
    gl.glTranslatef(position.x, position.y, 0);
    // The offset comes before the scale, so it is in unscaled pixels.
    if (alignment == Alignment::Center)
        gl.glTranslatef(-0.5f * width, 0, 0);
    else if (alignment == Alignment::Right)
        gl.glTranslatef(-width, 0, 0);
    gl.glScalef(scale, scale, scale);
    font->draw(text);
    gl.glPopMatrix();
    gl.glPopAttrib();
}

void TextLine::free() {}

// Both setters measure before they change anything, so text the font rejects
// leaves the line as it was and draw never meets it.
void TextLine::setFont(Font& newFont) {
    const float newWidth = newFont.textWidth(text);
    font = &newFont;
    width = newWidth;
}

void TextLine::setText(const std::string& newText) {
    const float newWidth = font->textWidth(newText);
    text = newText;
    width = newWidth;
}

void TextLine::setPosition(Vector2f newPosition) { position = newPosition; }

void TextLine::setPosition(float x, float y) { position = Vector2f(x, y); }

} // namespace tandrel
