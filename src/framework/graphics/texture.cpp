#include "framework/graphics/texture.hpp"

#include "binding/opengl/gl.hpp"
#include "binding/opengl/glu.hpp"
#include "binding/util/exception.hpp"

#include <bit>
#include <string>
#include <vector>

namespace tandrel {

namespace {

struct UploadFormat {
    GLenum format;
    GLenum type;
};

// Indexed by PixelFormat, L8 to RGBA16.
constexpr UploadFormat uploadFormats[] = {
    {GL_LUMINANCE, GL_UNSIGNED_BYTE}, {GL_LUMINANCE_ALPHA, GL_UNSIGNED_BYTE}, {GL_RGB, GL_UNSIGNED_BYTE},
    {GL_RGBA, GL_UNSIGNED_BYTE},      {GL_LUMINANCE, GL_UNSIGNED_SHORT},      {GL_LUMINANCE_ALPHA, GL_UNSIGNED_SHORT},
    {GL_RGB, GL_UNSIGNED_SHORT},      {GL_RGBA, GL_UNSIGNED_SHORT},
};

void setParameters(GLint magFilter, GLint minFilter, GLint wrap) {
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magFilter);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
}

} // namespace

Texture::Texture(std::uint32_t width, std::uint32_t height) { resize(width, height); }

void Texture::createFromImage(SuperImage& image, bool buildMipmaps) {
    free();
    width = static_cast<std::int32_t>(image.width());
    height = static_cast<std::int32_t>(image.height());
    gl.glGenTextures(1, &tex);
    gl.glBindTexture(GL_TEXTURE_2D, tex);
    if (buildMipmaps)
        setParameters(GL_LINEAR, GL_LINEAR_MIPMAP_LINEAR, GL_REPEAT);
    else
        setParameters(GL_LINEAR, GL_LINEAR, GL_CLAMP_TO_EDGE);
    gl.glPixelStorei(GL_UNPACK_ALIGNMENT, 1); // image rows are tightly packed

    const auto index = static_cast<std::size_t>(image.pixelFormat());
    if (index >= std::size(uploadFormats))
        // Callers match on this wording, typo-free as it is: keep it exact.
        throw VandorException("Texture.createFromImage is not implemented for PixelFormat." +
                              std::string(toString(image.pixelFormat())));
    format = uploadFormats[index].format;
    type = uploadFormats[index].type;
    // Images hold 16-bit samples high byte first, OpenGL reads them in the
    // machine's order: on a little-endian machine it swaps them for this
    // upload only.
    const bool swapBytes = type == GL_UNSIGNED_SHORT && std::endian::native == std::endian::little;
    if (swapBytes) gl.glPixelStorei(GL_UNPACK_SWAP_BYTES, GL_TRUE);
    // The chain is built either way; the mipmap builder also rescales sizes
    // that are not powers of two.
    glu.gluBuild2DMipmaps(GL_TEXTURE_2D, static_cast<GLint>(format), width, height, format, type,
                          image.pixels().data());
    if (swapBytes) gl.glPixelStorei(GL_UNPACK_SWAP_BYTES, GL_FALSE);
}

void Texture::bind(double) {
    gl.glEnable(GL_TEXTURE_2D);
    // Callers match on this wording: keep it exact.
    if (!gl.glIsTexture(tex)) throw VandorException("Texture error");
    gl.glBindTexture(GL_TEXTURE_2D, tex);
}

void Texture::unbind() {
    gl.glBindTexture(GL_TEXTURE_2D, 0);
    gl.glDisable(GL_TEXTURE_2D);
}

void Texture::free() {
    if (gl.glIsTexture(tex)) gl.glDeleteTextures(1, &tex);
    // OpenGL hands a deleted name out again: holding on to it would let a
    // second free delete another object's texture.
    tex = 0;
}

void Texture::copyFramebuffer() {
    gl.glBindTexture(GL_TEXTURE_2D, tex);
    gl.glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, width, height);
    gl.glBindTexture(GL_TEXTURE_2D, 0);
}

void Texture::resize(std::uint32_t newWidth, std::uint32_t newHeight) {
    free();
    width = static_cast<std::int32_t>(newWidth);
    height = static_cast<std::int32_t>(newHeight);
    const std::vector<std::uint8_t> transparent(std::size_t(newWidth) * newHeight * 4, 0);
    gl.glGenTextures(1, &tex);
    gl.glBindTexture(GL_TEXTURE_2D, tex);
    // Internal format 4: four components.
    gl.glTexImage2D(GL_TEXTURE_2D, 0, 4, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, transparent.data());
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

} // namespace tandrel
