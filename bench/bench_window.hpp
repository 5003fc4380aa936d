#pragma once

// One real OpenGL window per benchmark program, for what needs the driver.

#include "binding/libraries.hpp"
#include "binding/opengl/gl.hpp"
#include "binding/sdl/sdl.hpp"

namespace tandrel::bench {

// Opens the window on first call (later sizes are ignored); false when no
// display is there.
inline bool openWindow(int width, int height) {
    static const bool opened = [&] {
        loadMediaLibraries();
        if (sdl.SDL_Init(SDL_INIT_VIDEO) != 0) return false;
        sdl.SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        if (!sdl.SDL_SetVideoMode(width, height, 0, SDL_OPENGL)) return false;
        vandorGL().loadExtendedVersions(12);
        return true;
    }();
    return opened;
}

} // namespace tandrel::bench
