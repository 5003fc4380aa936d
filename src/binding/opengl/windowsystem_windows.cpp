// WGL, the window system of every OpenGL context on Windows.

#include "binding/opengl/windowsystem.hpp"

#include "binding/opengl/glheaders.hpp"
#include "binding/util/loader.hpp"

#include <windows.h>
#ifndef WGL_WGLEXT_PROTOTYPES
#define WGL_WGLEXT_PROTOTYPES 1
#endif
#include <GL/wglext.h>

#include <cstdint>
#include <cstring>
#include <iterator>

namespace tandrel {

namespace {

// The wgl functions of opengl32.dll, then the WGL_ extensions' own.
struct WGLTable {
#define TANDREL_WGL(name) decltype(&::name) name = nullptr;
#define TANDREL_WGL_EXTENSION_SLOT(name) decltype(&::name) name = nullptr;
#include "binding/opengl/wgl_extension_slots.inc"
#include "binding/opengl/wgl_functions.inc"
#undef TANDREL_WGL_EXTENSION_SLOT
#undef TANDREL_WGL

    template <typename F>
    void forEachSlot(F&& f) {
#define TANDREL_WGL(name) f(static_cast<void*>(&name), #name);
#define TANDREL_WGL_EXTENSION_SLOT(name) f(static_cast<void*>(&name), #name);
#include "binding/opengl/wgl_extension_slots.inc"
#include "binding/opengl/wgl_functions.inc"
#undef TANDREL_WGL_EXTENSION_SLOT
#undef TANDREL_WGL
    }
};

WGLTable wgl;

#define TANDREL_EXTENSION_LIST "binding/opengl/wgl_extensions.inc"
#include "binding/opengl/extension_entries.inc"
#undef TANDREL_EXTENSION_LIST

} // namespace

// WGL lives in opengl32.dll itself.
void windowsystem::loadOptionalLibraries() {}

void windowsystem::bindFunctions(SharedLibLoader& openGL) {
#define TANDREL_WGL(name) openGL.bindSymbol(&wgl.name, #name, false);
#include "binding/opengl/wgl_functions.inc"
#undef TANDREL_WGL
}

std::size_t windowsystem::boundFunctions() { return boundSlots(wgl); }

void windowsystem::clearFunctions() { clearSlots(wgl); }

bool windowsystem::hasContext() { return wgl.wglGetCurrentContext && wgl.wglGetCurrentContext(); }

void* windowsystem::procAddress(const std::string& name) {
    const PROC found = wgl.wglGetProcAddress ? wgl.wglGetProcAddress(name.c_str()) : nullptr;
    void* address;
    std::memcpy(&address, &found, sizeof address);
    // Some drivers answer a name they do not have with 1, 2, 3 or -1 rather
    // than null.
    const auto value = reinterpret_cast<std::intptr_t>(address);
    return value >= -1 && value <= 3 ? nullptr : address;
}

// Both functions are themselves extensions, found only through the context.
const char* windowsystem::extensionString() {
    if (auto* arb = reinterpret_cast<PFNWGLGETEXTENSIONSSTRINGARBPROC>(procAddress("wglGetExtensionsStringARB")))
        return wgl.wglGetCurrentDC ? arb(wgl.wglGetCurrentDC()) : nullptr;
    if (auto* ext = reinterpret_cast<PFNWGLGETEXTENSIONSSTRINGEXTPROC>(procAddress("wglGetExtensionsStringEXT")))
        return ext();
    return nullptr;
}

// The context's device says it; 0 and 1 stand for the hardware's default,
// which says nothing.
double windowsystem::refreshRate() {
    const HDC device = wgl.wglGetCurrentDC ? wgl.wglGetCurrentDC() : nullptr;
    const int rate = device ? GetDeviceCaps(device, VREFRESH) : 0;
    return rate > 1 ? rate : 0;
}

std::span<const ExtensionEntry> windowsystem::extensions() { return extensionEntries; }

std::span<const FunctionEntry> windowsystem::extensionFunctions() { return functionEntries; }

} // namespace tandrel
