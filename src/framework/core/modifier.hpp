#pragma once

namespace tandrel {

// Changes OpenGL state around the drawables of a layer (a texture, a camera).
class Modifier {
public:
    virtual ~Modifier() = default;
    virtual void bind(double dt) = 0;
    virtual void unbind() = 0;
    virtual void free() = 0;
    // As a drawable's: whether the state it binds changes from frame to
    // frame on its own (an easing camera).
    virtual bool animating() const { return false; }
};

} // namespace tandrel
