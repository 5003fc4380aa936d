#include "binding/opengl/egl.hpp"

namespace tandrel {

EGLTable egl;

TableLoader<EGLTable>& vandorEGL() {
    thread_local TableLoader<EGLTable> loader("libEGL.so.1,libEGL.so", egl);
    return loader;
}

} // namespace tandrel
