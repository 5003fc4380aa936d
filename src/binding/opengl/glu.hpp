#pragma once

#include "binding/opengl/glheaders.hpp"
#include "binding/util/loader.hpp"

namespace tandrel {

struct GLUTable {
#define TANDREL_GLU(name) decltype(&::name) name = nullptr;
#include "binding/opengl/glu_functions.inc"
#undef TANDREL_GLU
};

extern GLUTable glu;

class VandorGLULoader : public SharedLibLoader {
public:
    VandorGLULoader() : SharedLibLoader("libGLU.so,libGLU.so.1") {}
    void bindAllSymbols() override;
};

VandorGLULoader& vandorGLU();

} // namespace tandrel
