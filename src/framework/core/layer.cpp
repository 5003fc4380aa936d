#include "framework/core/layer.hpp"

#include "binding/opengl/gl.hpp"
#include "binding/opengl/glu.hpp"

namespace tandrel {

namespace {
constexpr double fieldOfViewY = 60.0;
constexpr double nearPlane = 0.1;
constexpr double farPlane = 400.0;

float aspectOf(std::uint32_t width, std::uint32_t height) {
    return static_cast<float>(width) / static_cast<float>(height);
}

thread_local float currentScale = 1.0f;
} // namespace

Viewport fitToWindow(std::uint32_t logicalWidth, std::uint32_t logicalHeight, std::uint32_t windowWidth,
                     std::uint32_t windowHeight) {
    const std::int64_t lw = logicalWidth, lh = logicalHeight, ww = windowWidth, wh = windowHeight;
    if (lw == 0 || lh == 0) return {0, 0, std::int32_t(ww), std::int32_t(wh)};
    // Compared as cross products, so an exact multiple never meets a rounding.
    std::int64_t w = ww, h = wh;
    if (ww * lh <= wh * lw)
        h = (ww * lh + lw / 2) / lw;
    else
        w = (wh * lw + lh / 2) / lh;
    return {std::int32_t((ww - w) / 2), std::int32_t((wh - h) / 2), std::int32_t(w), std::int32_t(h)};
}

float drawingScale() { return currentScale; }

Layer::Layer(std::int32_t x, std::int32_t y, std::uint32_t width, std::uint32_t height, LayerType type,
             std::int32_t depth)
    : x(x), y(y), width(width), height(height), aspectRatio(aspectOf(width, height)), type(type), depth(depth) {}

void Layer::resize(std::int32_t newX, std::int32_t newY, std::uint32_t newWidth, std::uint32_t newHeight) {
    x = newX;
    y = newY;
    width = newWidth;
    height = newHeight;
    aspectRatio = aspectOf(width, height);
    // A capture texture of the old size would copy only the old lower-left
    // corner of the frame; callers hold the texture, so it changes in place.
    if (texture && (texture->width != std::int32_t(width) || texture->height != std::int32_t(height)))
        texture->resize(width, height);
}

void Layer::setLogicalSize(std::uint32_t newWidth, std::uint32_t newHeight) {
    logicalWidth = newWidth;
    logicalHeight = newHeight;
}

Viewport Layer::viewport() const { return fitToWindow(logicalWidth, logicalHeight, width, height); }

Vector2f Layer::toScene(std::int32_t px, std::int32_t py) const {
    if (logicalWidth == 0 || logicalHeight == 0) return Vector2f(float(px), float(py));
    const Viewport fit = viewport();
    return Vector2f(float(px - fit.x) * float(logicalWidth) / float(fit.width),
                    float(py - fit.y) * float(logicalHeight) / float(fit.height));
}

void Layer::draw(double dt) {
    const bool fitted = type == LayerType::Layer2D && logicalWidth != 0 && logicalHeight != 0;
    gl.glMatrixMode(GL_PROJECTION);
    gl.glPushMatrix();
    gl.glLoadIdentity();
    if (fitted) {
        // Primitives are clipped to the viewport, so nothing spills into the
        // margins, which keep the colour the frame was cleared to.
        const Viewport fit = viewport();
        gl.glPushAttrib(GL_VIEWPORT_BIT);
        gl.glViewport(fit.x, fit.y, fit.width, fit.height);
        gl.glOrtho(0, logicalWidth, 0, logicalHeight, -1, 1);
        currentScale = float(fit.width) / float(logicalWidth);
    } else if (type == LayerType::Layer2D)
        gl.glOrtho(0, width, 0, height, -1, 1);
    else
        glu.gluPerspective(fieldOfViewY, aspectRatio, nearPlane, farPlane);
    gl.glMatrixMode(GL_MODELVIEW);
    gl.glLoadIdentity();

    // By index: a drawable may add to the lists while the pass runs.
    for (std::size_t i = 0; i < modifiers.size(); ++i) modifiers[i]->bind(dt);
    for (std::size_t i = 0; i < drawables.size(); ++i) drawables[i]->draw(dt);
    // Insertion order again, not reversed: modifiers undo only their own state.
    for (std::size_t i = 0; i < modifiers.size(); ++i) modifiers[i]->unbind();
    if (texture && copyToTexture) texture->copyFramebuffer();
    if (fitted) {
        gl.glPopAttrib();
        currentScale = 1.0f;
    }

    gl.glMatrixMode(GL_PROJECTION);
    gl.glPopMatrix();
    gl.glMatrixMode(GL_MODELVIEW);
}

Texture& Layer::getTexture() {
    if (!texture) {
        texture = std::make_unique<Texture>(width, height);
        copyToTexture = true;
    }
    return *texture;
}

void Layer::free() {
    if (texture) texture->free();
}

bool Layer::animating() const {
    for (const Drawable* drawable : drawables)
        if (drawable->animating()) return true;
    for (const Modifier* modifier : modifiers)
        if (modifier->animating()) return true;
    return false;
}

void Layer::update(EventManager&) {}
void Layer::onKeyDown(EventManager&) {}
void Layer::onKeyUp(EventManager&) {}
void Layer::onMouseButtonDown(EventManager&) {}
void Layer::onMouseButtonUp(EventManager&) {}

void Layer::addDrawable(Drawable& drawable) { drawables.push_back(&drawable); }
void Layer::addModifier(Modifier& modifier) { modifiers.push_back(&modifier); }

} // namespace tandrel
