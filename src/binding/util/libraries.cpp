#include "binding/util/libraries.hpp"

#include "binding/freetype/freetype.hpp"
#include "binding/opengl/gl.hpp"
#include "binding/opengl/glu.hpp"
#include "binding/sdl/sdl.hpp"

namespace tandrel {

void loadMediaLibraries() {
    vandorGL().load();
    vandorGLU().load();
    vandorSDL().load();
    vandorFT().load();
}

} // namespace tandrel
