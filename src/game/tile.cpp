#include "game/tile.hpp"

#include "binding/opengl/gl.hpp"

namespace tandrel {

void Tile::moveTo(Vector2f to, float step) {
    Vector2f d = to - position;
    const float distance = d.length();
    if (static_cast<double>(distance) <= 0.001) {
        position = to;
        moving = false;
        return;
    }
    d.normalize();
    const float advance = distance < step ? distance : step;
    position += Vector2f(d.x * advance, d.y * advance);
}

void Tile::draw(double dt) {
    if (moving && value != 0) moveTo(target, static_cast<float>(dt * 3300.0));
    gl.glPushMatrix();
    gl.glTranslatef(position.x, position.y, 0);
    gl.glScalef(90, 90, 90);
    gl.glBegin(GL_QUADS);
    gl.glVertex2f(-0.5f, -0.5f);
    gl.glVertex2f(0.5f, -0.5f);
    gl.glVertex2f(0.5f, 0.5f);
    gl.glVertex2f(-0.5f, 0.5f);
    gl.glEnd();
    gl.glPopMatrix();
}

} // namespace tandrel
