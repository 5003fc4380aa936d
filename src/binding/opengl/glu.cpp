#include "binding/opengl/glu.hpp"

namespace tandrel {

GLUTable glu;

void VandorGLULoader::bindAllSymbols() {
#define TANDREL_GLU(name) bindSymbol(&glu.name, #name);
#include "binding/opengl/glu_functions.inc"
#undef TANDREL_GLU
}

VandorGLULoader& vandorGLU() {
    thread_local VandorGLULoader loader;
    return loader;
}

} // namespace tandrel
