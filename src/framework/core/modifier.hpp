#pragma once

namespace tandrel {

// Changes OpenGL state around the drawables of a layer (a texture, a camera).
class Modifier {
public:
    virtual ~Modifier() = default;
    virtual void bind(double dt) = 0;
    virtual void unbind() = 0;
    virtual void free() = 0;
};

} // namespace tandrel
