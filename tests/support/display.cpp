#include "support/display.hpp"

#include "binding/opengl/gl.hpp"
#include "binding/util/libraries.hpp"

#include <gtest/gtest.h>

#include <cstdlib>

namespace tandrel::test {

void requireDisplay() {
    const char* display = std::getenv("DISPLAY");
    ASSERT_TRUE(display && *display) << "display tests need DISPLAY (scripts/test starts a private Xvfb)";
    loadMediaLibraries();
}

std::array<std::uint8_t, 3> readPixel(int x, int y) {
    std::array<std::uint8_t, 4> rgba{};
    gl.glReadBuffer(GL_BACK);
    gl.glPixelStorei(GL_PACK_ALIGNMENT, 1);
    gl.glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return {rgba[0], rgba[1], rgba[2]};
}

bool pixelNear(int x, int y, std::uint32_t rgb, int tolerance) {
    auto p = readPixel(x, y);
    int want[3] = {int((rgb >> 16) & 0xFF), int((rgb >> 8) & 0xFF), int(rgb & 0xFF)};
    for (int i = 0; i < 3; ++i)
        if (std::abs(int(p[i]) - want[i]) > tolerance) return false;
    return true;
}

} // namespace tandrel::test

#include "binding/sdl/sdl.hpp"

namespace tandrel::test {

void openTestWindow(int width, int height) {
    ASSERT_EQ(sdl.SDL_Init(SDL_INIT_VIDEO), 0) << sdl.SDL_GetError();
    sdl.SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    ASSERT_NE(sdl.SDL_SetVideoMode(width, height, 0, SDL_OPENGL), nullptr) << sdl.SDL_GetError();
    vandorGL().loadExtendedVersions(12);
    pinLoadedLibraries();
}

} // namespace tandrel::test
