#pragma once

// The window system that holds the OpenGL context: GLX or EGL on Linux, WGL
// on Windows, one file per platform. The OpenGL loader asks it for the
// context, for entry points and for the extensions beyond GL_'s.

#include <cstddef>
#include <span>
#include <string>

namespace tandrel {

class SharedLibLoader;

struct ExtensionEntry {
    const char* name;
    int functionCount;
};

// A function of an extension: its name and the table slot it is bound to.
struct FunctionEntry {
    const char* name;
    void* slot;
};

// How many functions a list of extensions says it has, for the check that
// every extension's count matches the functions listed after it.
constexpr std::size_t listedFunctions(std::span<const ExtensionEntry> extensions) {
    std::size_t total = 0;
    for (const auto& extension : extensions) total += static_cast<std::size_t>(extension.functionCount);
    return total;
}

namespace windowsystem {

// Loads the window system's own library where it has one beside OpenGL's
// (libEGL); a system without it makes no such contexts, so it may be missing.
void loadOptionalLibraries();
// Binds the window system's functions that the OpenGL library exports; none
// of them must exist.
void bindFunctions(SharedLibLoader& openGL);
std::size_t boundFunctions();
// Empties every slot of the window system's tables, its extensions' included.
void clearFunctions();

bool hasContext();
// The address the window system gives a name for the current context,
// nullptr when it has none.
void* procAddress(const std::string& name);
// The window system's extension string for the current context, nullptr
// when it has none.
const char* extensionString();
// The refresh rate in Hz of the current context's display, 0 when the
// window system does not tell.
double refreshRate();

// The window system's extensions, in table order, and their functions one
// extension after another.
std::span<const ExtensionEntry> extensions();
std::span<const FunctionEntry> extensionFunctions();

} // namespace windowsystem

} // namespace tandrel
