#pragma once

// The GLX part of the OpenGL library. GL/glx.h brings in Xlib, whose macros
// (None, Bool, Status...) and global types (Drawable, Font, Window...) would
// clash with the framework's own names, so only the files that call GLX
// include this header; everything else sees gl.hpp alone.

#include "binding/opengl/glheaders.hpp"

#ifndef GLX_GLXEXT_PROTOTYPES
#define GLX_GLXEXT_PROTOTYPES 1
#endif
#include <GL/glx.h>
#include <GL/glxext.h>

namespace tandrel {

// GLX entry points of libGL: those of GL/glx.h, bound with the library, then
// the GLX_ extensions' own, bound by loadExtensions.
struct GLXTable {
#define TANDREL_GLX(name) decltype(&::name) name = nullptr;
#define TANDREL_GLX_EXTENSION_SLOT(name) decltype(&::name) name = nullptr;
#include "binding/opengl/glx_extension_slots.inc"
#include "binding/opengl/glx_functions.inc"
#undef TANDREL_GLX_EXTENSION_SLOT
#undef TANDREL_GLX

    template <typename F>
    void forEachSlot(F&& f) {
#define TANDREL_GLX(name) f(static_cast<void*>(&name), #name);
#define TANDREL_GLX_EXTENSION_SLOT(name) f(static_cast<void*>(&name), #name);
#include "binding/opengl/glx_extension_slots.inc"
#include "binding/opengl/glx_functions.inc"
#undef TANDREL_GLX_EXTENSION_SLOT
#undef TANDREL_GLX
    }
};

extern GLXTable glx;

} // namespace tandrel
