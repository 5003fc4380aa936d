#pragma once

#include "framework/core/layer.hpp"
#include "framework/scene/tbcamera.hpp"

#include <cstdint>

namespace tandrel {

// A 3D layer the user looks around with the mouse: right drag turns and
// pitches the camera, middle drag (or left drag with left Shift held) pans,
// the wheel zooms. While a drag lasts the cursor is hidden and kept at the
// window's centre, so each frame's offset from the centre is the movement.
class FreeviewLayer : public Layer {
public:
    // At (0, 0), with its camera as the first modifier.
    FreeviewLayer(std::uint32_t width, std::uint32_t height, std::int32_t depth = 0);
    FreeviewLayer(const FreeviewLayer&) = delete;
    FreeviewLayer& operator=(const FreeviewLayer&) = delete;

    void update(EventManager& events) override;
    void onMouseButtonDown(EventManager& events) override;
    // While a drag lasts (the camera eases after the cursor every frame) and
    // while the wheel's zoom eases in.
    bool animating() const override;

    TrackballCamera camera;
    // Where the cursor was when the last drag began.
    std::int32_t prevMouseX = 0;
    std::int32_t prevMouseY = 0;
    // Whether the last update found a drag going on.
    bool dragging = false;
};

// The three coordinate axes, ten units long: x red, y green, z blue, with a
// white point at the origin. Leaves lighting enabled, as lit 3D scenes want.
class Axes : public Drawable {
public:
    void draw(double dt) override;
    void free() override;
};

} // namespace tandrel
