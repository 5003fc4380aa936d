#include "binding/opengl/glu.hpp"
#include "binding/libnames.hpp"

namespace tandrel {

GLUTable glu;

VandorGLULoader::VandorGLULoader() : TableLoader(defaultLibNames.glu, glu) {}

VandorGLULoader& vandorGLU() {
    thread_local VandorGLULoader loader;
    return loader;
}

} // namespace tandrel
