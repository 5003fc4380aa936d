// GLX where SDL made the context through X11 (SDL 1.2), EGL where it made it
// through EGL (sdl12-compat over SDL 2 on Wayland or offscreen).

#include "binding/opengl/windowsystem.hpp"

#include "binding/opengl/egl.hpp"
#include "binding/opengl/glx.hpp"
#include "binding/util/exception.hpp"

#include <cstring>
#include <iterator>

namespace tandrel {

GLXTable glx;

namespace {

#define TANDREL_EXTENSION_LIST "binding/opengl/glx_extensions.inc"
#include "binding/opengl/extension_entries.inc"
#undef TANDREL_EXTENSION_LIST

// Asked of both, since the one holding no context answers null.
bool eglHoldsContext() {
    return !(glx.glXGetCurrentContext && glx.glXGetCurrentContext()) && egl.eglGetCurrentContext &&
           egl.eglGetCurrentContext() != EGL_NO_CONTEXT;
}

} // namespace

void windowsystem::loadOptionalLibraries() {
    try {
        vandorEGL().load();
    } catch (const SharedLibLoadException&) {
    }
}

void windowsystem::bindFunctions(SharedLibLoader& openGL) {
#define TANDREL_GLX(name) openGL.bindSymbol(&glx.name, #name, false);
#include "binding/opengl/glx_functions.inc"
#undef TANDREL_GLX
}

std::size_t windowsystem::boundFunctions() { return boundSlots(glx); }

void windowsystem::clearFunctions() { clearSlots(glx); }

bool windowsystem::hasContext() {
    return (glx.glXGetCurrentContext && glx.glXGetCurrentContext()) || eglHoldsContext();
}

// GLX's lookup while no context is current.
void* windowsystem::procAddress(const std::string& name) {
    // Both lookups hand back a void (*)(void).
    __GLXextFuncPtr found = nullptr;
    if (eglHoldsContext())
        found = egl.eglGetProcAddress ? egl.eglGetProcAddress(name.c_str()) : nullptr;
    else if (glx.glXGetProcAddressARB)
        found = glx.glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name.c_str()));
    void* address;
    std::memcpy(&address, &found, sizeof address);
    return address;
}

// EGL's string for the current display where EGL holds the context, else
// GLX's for the current display and the context's screen.
const char* windowsystem::extensionString() {
    if (eglHoldsContext()) {
        EGLDisplay display = egl.eglGetCurrentDisplay ? egl.eglGetCurrentDisplay() : EGL_NO_DISPLAY;
        return display != EGL_NO_DISPLAY && egl.eglQueryString ? egl.eglQueryString(display, EGL_EXTENSIONS) : nullptr;
    }
    Display* display = glx.glXGetCurrentDisplay ? glx.glXGetCurrentDisplay() : nullptr;
    int screen = 0;
    if (display && glx.glXQueryContext) glx.glXQueryContext(display, glx.glXGetCurrentContext(), GLX_SCREEN, &screen);
    return display && glx.glXQueryExtensionsString ? glx.glXQueryExtensionsString(display, screen) : nullptr;
}

// GLX tells through GLX_OML_sync_control, whose functions are bound only
// where the driver lists it; EGL does not tell.
double windowsystem::refreshRate() {
    if (eglHoldsContext() || !glx.glXGetMscRateOML || !glx.glXGetCurrentDisplay || !glx.glXGetCurrentDrawable) return 0;
    Display* display = glx.glXGetCurrentDisplay();
    const GLXDrawable drawable = glx.glXGetCurrentDrawable();
    int32_t numerator = 0;
    int32_t denominator = 0;
    if (!display || !drawable || !glx.glXGetMscRateOML(display, drawable, &numerator, &denominator) || numerator <= 0 ||
        denominator <= 0)
        return 0;
    return static_cast<double>(numerator) / denominator;
}

std::span<const ExtensionEntry> windowsystem::extensions() { return extensionEntries; }

std::span<const FunctionEntry> windowsystem::extensionFunctions() { return functionEntries; }

} // namespace tandrel
