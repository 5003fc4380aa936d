#pragma once

namespace tandrel {

// Anything that draws itself inside a layer's pass.
class Drawable {
public:
    virtual ~Drawable() = default;
    // dt: seconds since the previous frame. The model-view matrix is current.
    virtual void draw(double dt) = 0;
    // Releases the OpenGL resources the object holds.
    virtual void free() = 0;
    // Whether the next frame would differ from the last one although no
    // event came: a loop that draws frames on demand keeps drawing while
    // this holds. A drawable that changes only through events never animates.
    virtual bool animating() const { return false; }
};

} // namespace tandrel
