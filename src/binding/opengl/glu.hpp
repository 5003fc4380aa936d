#pragma once

#include "binding/libnames.hpp"
#include "binding/opengl/glheaders.hpp"
#include "binding/util/loader.hpp"

namespace tandrel {

// Every GLU entry point; empty until bound.
struct GLUTable {
#define TANDREL_GLU(name, mustExist) decltype(&::name) name = nullptr;
#include "binding/opengl/glu_functions.inc"
#undef TANDREL_GLU

    template <typename F>
    void forEachSlot(F&& f) {
#define TANDREL_GLU(name, mustExist) f(static_cast<void*>(&name), #name, mustExist);
#include "binding/opengl/glu_functions.inc"
#undef TANDREL_GLU
    }
};

extern GLUTable glu;

class VandorGLULoader : public TableLoader<GLUTable> {
public:
    VandorGLULoader();
};

VandorGLULoader& vandorGLU();

} // namespace tandrel
