#include "binding/libraries.hpp"

#include "binding/freetype/freetype.hpp"
#include "binding/opengl/egl.hpp"
#include "binding/opengl/gl.hpp"
#include "binding/opengl/glu.hpp"
#include "binding/sdl/sdl.hpp"
#include "binding/util/exception.hpp"

#include <dlfcn.h>
#include <link.h>

namespace tandrel {

void loadMediaLibraries() {
    vandorGL().load();
    vandorGLU().load();
    vandorSDL().load();
    vandorFT().load();
    // Only a context that SDL makes through EGL needs it; a system without
    // libEGL makes none.
    try {
        vandorEGL().load();
    } catch (const SharedLibLoadException&) {
    }
}

void pinLoadedLibraries() {
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void*) {
            if (info->dlpi_name && *info->dlpi_name) dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
            return 0;
        },
        nullptr);
}

} // namespace tandrel
