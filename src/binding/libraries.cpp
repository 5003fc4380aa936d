#include "binding/libraries.hpp"

#include "binding/freetype/freetype.hpp"
#include "binding/opengl/gl.hpp"
#include "binding/opengl/glu.hpp"
#include "binding/opengl/windowsystem.hpp"
#include "binding/sdl/sdl.hpp"

namespace tandrel {

void loadMediaLibraries() {
    vandorGL().load();
    vandorGLU().load();
    vandorSDL().load();
    vandorFT().load();
    windowsystem::loadOptionalLibraries();
}

} // namespace tandrel
