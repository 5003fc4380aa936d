#pragma once

#include "framework/core/modifier.hpp"
#include "support/image/image.hpp"

#include <cstdint>

namespace tandrel {

// One two-dimensional OpenGL texture: empty at a size, to receive copies of
// the frame buffer, or filled from an image with a full mipmap chain. As a
// modifier it textures the drawables of a layer. Nothing is deleted
// automatically: the owner calls free.
class Texture : public Modifier {
public:
    // No texture yet; createFromImage makes one.
    Texture() = default;
    // Transparent black RGBA texels with linear filtering and no mipmaps. The
    // texture is left bound.
    Texture(std::uint32_t width, std::uint32_t height);
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    // Replaces the contents with the image and its mipmaps; buildMipmaps picks
    // mipmapped filtering with repeat, otherwise linear filtering clamped to
    // the edge. The texture is left bound. Raises VandorException for a
    // format that has no OpenGL equivalent here.
    virtual void createFromImage(SuperImage& image, bool buildMipmaps);
    // Raises VandorException "Texture error" when no live texture exists.
    void bind(double dt) override;
    void unbind() override;
    // Safe at any time, also twice.
    void free() override;
    // Copies the frame buffer's lower-left width x height pixels into the
    // whole texture.
    virtual void copyFramebuffer();
    // Deletes the contents and starts over as the size constructor does, so
    // that whoever holds this object sees the new size. Left bound.
    virtual void resize(std::uint32_t width, std::uint32_t height);

    std::uint32_t tex = 0;
    // Set by createFromImage: GL_LUMINANCE ... GL_RGBA and
    // GL_UNSIGNED_BYTE or GL_UNSIGNED_SHORT.
    std::uint32_t format = 0;
    std::uint32_t type = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

} // namespace tandrel
