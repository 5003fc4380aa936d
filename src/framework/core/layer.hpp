#pragma once

#include "framework/core/drawable.hpp"
#include "framework/core/modifier.hpp"
#include "framework/graphics/texture.hpp"
#include "support/math/vector.hpp"

#include <cstdint>
#include <memory>
#include <vector>

namespace tandrel {

class EventManager;

// Where a scene of fixed proportions lands in a window: the largest rectangle
// of those proportions that fits, centred. In window pixels from the lower left.
struct Viewport {
    std::int32_t x;
    std::int32_t y;
    std::int32_t width;
    std::int32_t height;
    bool operator==(const Viewport&) const = default;
};

Viewport fitToWindow(std::uint32_t logicalWidth, std::uint32_t logicalHeight, std::uint32_t windowWidth,
                     std::uint32_t windowHeight);

// Window pixels per unit of the 2D layer being drawn: 1 outside a pass and in
// layers without a logical size. Fonts read it to rasterise at the shown size.
float drawingScale();

// Any value other than Layer2D draws with the perspective projection.
enum class LayerType : std::int32_t {
    Layer2D = 0, // orthographic, one unit per pixel, origin at the lower left
    Layer3D = 1, // perspective
};

// Sets up a projection, applies its modifiers around its drawables and puts
// the projection back. Drawables and modifiers belong to whoever added them.
class Layer : public Drawable {
public:
    Layer(std::int32_t x, std::int32_t y, std::uint32_t width, std::uint32_t height, LayerType type,
          std::int32_t depth);

    // Kept across resizes; not used for drawing.
    std::int32_t x;
    std::int32_t y;
    std::uint32_t width;
    std::uint32_t height;
    float aspectRatio;
    LayerType type;
    // The application resizes the layer to the window on every resize.
    bool autoResize = false;
    // A 2D layer with a logical size draws a scene of that many units fitted
    // into its own size (the window's, for the application's layers): the
    // margins keep the clear colour. 0 x 0 keeps one unit per pixel.
    std::uint32_t logicalWidth = 0;
    std::uint32_t logicalHeight = 0;
    // Larger depths are drawn earlier.
    std::int32_t depth;
    // Made by getTexture; receives a copy of the frame buffer after each pass
    // while copyToTexture is set. Owned by the layer.
    std::unique_ptr<Texture> texture;
    bool copyToTexture = false;
    std::vector<Drawable*> drawables;
    std::vector<Modifier*> modifiers;

    // A capture texture takes the new size too.
    virtual void setLogicalSize(std::uint32_t width, std::uint32_t height);
    // Where the scene lies in the layer's area (all of it without a logical size).
    Viewport viewport() const;
    // A point of the layer's area in pixels from the lower left (the event
    // manager's mouse coordinates) as a point of the scene.
    Vector2f toScene(std::int32_t x, std::int32_t y) const;
    virtual void resize(std::int32_t x, std::int32_t y, std::uint32_t width, std::uint32_t height);
    // The capture texture, made at the layer's size on first use; from then on
    // every pass copies what the layer drew into it.
    virtual Texture& getTexture();
    // Ends with the model-view matrix current; the projection is restored, the
    // model-view matrix is left at whatever the drawables made of it.
    void draw(double dt) override;
    // Frees the capture texture; drawables and modifiers are their creators'.
    void free() override;
    // Whether any of its drawables or modifiers animates.
    bool animating() const override;
    // Input hooks; empty here, for layers that react to input.
    virtual void update(EventManager& events);
    virtual void onKeyDown(EventManager& events);
    virtual void onKeyUp(EventManager& events);
    virtual void onMouseButtonDown(EventManager& events);
    virtual void onMouseButtonUp(EventManager& events);
    virtual void addDrawable(Drawable& drawable);
    virtual void addModifier(Modifier& modifier);
};

} // namespace tandrel
