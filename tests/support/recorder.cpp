#include "support/recorder.hpp"

#include <optional>

namespace tandrel::test {

namespace {
std::optional<GLTable> savedGL;
std::optional<GLUTable> savedGLU;
std::optional<SDLTable> savedSDL;
}

std::vector<Call>& calls() {
    static std::vector<Call> log;
    return log;
}

std::vector<std::string> callNames() {
    std::vector<std::string> names;
    for (const auto& c : calls()) names.push_back(c.name);
    return names;
}

std::vector<Call> callsNamed(const std::string& name) {
    std::vector<Call> found;
    for (const auto& c : calls())
        if (c.name == name) found.push_back(c);
    return found;
}

void installRecorder() {
    if (!savedGL) savedGL = gl;
    if (!savedGLU) savedGLU = glu;
#define TANDREL_GL(name) gl.name = &Recorder<#name, decltype(gl.name)>::record;
#include "binding/opengl/gl_functions.inc"
#undef TANDREL_GL
#define TANDREL_GL_VERSION(version, name) gl.name = &Recorder<#name, decltype(gl.name)>::record;
#include "binding/opengl/gl_versions.inc"
#undef TANDREL_GL_VERSION
#define TANDREL_GL_EXTENSION_SLOT(name) gl.name = &Recorder<#name, decltype(gl.name)>::record;
#include "binding/opengl/gl_extension_slots.inc"
#undef TANDREL_GL_EXTENSION_SLOT
#define TANDREL_GLU(name) glu.name = &Recorder<#name, decltype(glu.name)>::record;
#include "binding/opengl/glu_functions.inc"
#undef TANDREL_GLU
    calls().clear();
}

void recordSDL() {
    if (!savedSDL) savedSDL = sdl;
#define TANDREL_SDL(name) sdl.name = &Recorder<#name, decltype(sdl.name)>::record;
#include "binding/sdl/sdl_functions.inc"
#undef TANDREL_SDL
}

void restoreTables() {
    if (savedGL) gl = *savedGL;
    if (savedGLU) glu = *savedGLU;
    if (savedSDL) sdl = *savedSDL;
    savedGL.reset();
    savedGLU.reset();
    savedSDL.reset();
    calls().clear();
}

} // namespace tandrel::test
