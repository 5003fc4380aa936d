#include "binding/opengl/glu.hpp"

namespace tandrel {

GLUTable glu;

VandorGLULoader::VandorGLULoader() : TableLoader("libGLU.so,libGLU.so.1", glu) {}

VandorGLULoader& vandorGLU() {
    thread_local VandorGLULoader loader;
    return loader;
}

} // namespace tandrel
