// A bare SDL 1.2 OpenGL window, drawn once and again on every exposure, that
// otherwise waits in SDL_WaitEvent until it is closed or Escape is pressed:
// what bench/idle-cpu sets Tandrel's figures beside.

#include "binding/libraries.hpp"
#include "binding/opengl/gl.hpp"
#include "binding/sdl/sdl.hpp"

int main() {
    using tandrel::gl;
    using tandrel::sdl;
    tandrel::loadMediaLibraries();
    if (sdl.SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
    sdl.SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    if (!sdl.SDL_SetVideoMode(810, 450, 0, SDL_OPENGL)) return 1;
    sdl.SDL_WM_SetCaption("Idle window", nullptr);
    SDL_Event event{};
    event.type = SDL_VIDEOEXPOSE;
    do {
        if (event.type == SDL_QUIT || (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE)) break;
        if (event.type == SDL_VIDEOEXPOSE) {
            gl.glClearColor(0.73f, 0.68f, 0.63f, 1);
            gl.glClear(GL_COLOR_BUFFER_BIT);
            sdl.SDL_GL_SwapBuffers();
        }
    } while (sdl.SDL_WaitEvent(&event));
    sdl.SDL_Quit();
    return 0;
}
