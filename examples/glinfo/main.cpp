// What the OpenGL driver offers, for a player whose game does not start:
// opens the framework's window, prints the driver's version, how many entry
// points each library bound and which extensions loaded, and exits.

#include <tandrel/binding/freetype/freetype.hpp>
#include <tandrel/binding/opengl/gl.hpp>
#include <tandrel/binding/opengl/glu.hpp>
#include <tandrel/binding/sdl/sdl.hpp>
#include <tandrel/framework/core/application.hpp>
#include <tandrel/framework/core/entry.hpp>

#include <cstdio>

namespace {

using namespace tandrel;

void printNames(const char* title, const std::vector<std::string>& names) {
    std::printf("%s (%zu):\n", title, names.size());
    for (const auto& name : names) std::printf("%s\n", name.c_str());
}

} // namespace

int main() {
    return runReportingFailures("tandrel-glinfo", [] {
        // 1.1 is enough here: the report is most wanted where the game's 1.2 is missing.
        Application app(640, 360, "Tandrel glinfo", 11);
        auto& loader = vandorGL();
        std::printf("GL_VERSION: %s\n", reinterpret_cast<const char*>(gl.glGetString(GL_VERSION)));
        std::printf("GL_RENDERER: %s\n", reinterpret_cast<const char*>(gl.glGetString(GL_RENDERER)));
        std::printf("Loaded version: %s\n", loader.versionString(loader.loadedVersion()).c_str());
        std::printf("Bound functions: OpenGL %zu, GLU %zu, SDL %zu, FreeType %zu\n", loader.boundSymbolCount(),
                    vandorGLU().boundSymbolCount(), vandorSDL().boundSymbolCount(), vandorFT().boundSymbolCount());
        printNames("Loaded extensions", loader.loadedExtensionNames());
        printNames("Extensions not loaded", loader.notLoadedExtensionNames());
        sdl.SDL_Quit();
        return 0;
    });
}
