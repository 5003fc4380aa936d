#pragma once

// Points every OpenGL and GLU slot at a function that does nothing and
// returns zero, so that a benchmark times only the framework's own work, with
// no context or driver.

#include "binding/opengl/gl.hpp"
#include "binding/opengl/glu.hpp"

#include <type_traits>

namespace tandrel::bench {

template <typename F>
struct NoOp;

template <typename R, typename... A>
struct NoOp<R (*)(A...)> {
    static R call(A...) {
        if constexpr (!std::is_void_v<R>) return R{};
    }
};

inline void installNoOpGL() {
#define TANDREL_GL(name) gl.name = &NoOp<decltype(gl.name)>::call;
#include "binding/opengl/gl_functions.inc"
#undef TANDREL_GL
#define TANDREL_GL_VERSION(version, name) gl.name = &NoOp<decltype(gl.name)>::call;
#include "binding/opengl/gl_versions.inc"
#undef TANDREL_GL_VERSION
#define TANDREL_GLU(name, mustExist) glu.name = &NoOp<decltype(glu.name)>::call;
#include "binding/opengl/glu_functions.inc"
#undef TANDREL_GLU
}

} // namespace tandrel::bench
