#pragma once

// EGL, the window system of the OpenGL context that SDL 2 makes on Wayland
// or offscreen (SDL 1.2 reaches it there through sdl12-compat). Only the
// files that ask the context's window system include this header.

#include "binding/util/loader.hpp"

// The platform's native types without Xlib, whose macros clash with the
// framework's names; the table passes them through untouched.
#ifndef EGL_NO_X11
#define EGL_NO_X11 1
#endif
#include <EGL/egl.h>

namespace tandrel {

// Every entry point of EGL/egl.h; empty until bound, and all of them stay
// empty on a system without libEGL.
struct EGLTable {
#define TANDREL_EGL(name) decltype(&::name) name = nullptr;
#include "binding/opengl/egl_functions.inc"
#undef TANDREL_EGL

    // EGL is optional as a whole: none of its entry points must exist.
    template <typename F>
    void forEachSlot(F&& f) {
#define TANDREL_EGL(name) f(static_cast<void*>(&name), #name, false);
#include "binding/opengl/egl_functions.inc"
#undef TANDREL_EGL
    }
};

extern EGLTable egl;

// This thread's loader of libEGL.
TableLoader<EGLTable>& vandorEGL();

} // namespace tandrel
