#pragma once

#include "binding/libnames.hpp"
#include "binding/opengl/glheaders.hpp"
#include "binding/opengl/gltypes.hpp"
#include "binding/opengl/windowsystem.hpp"
#include "binding/util/loader.hpp"

#include <map>
#include <optional>
#include <span>
#include <string>
#include <unordered_set>
#include <vector>

namespace tandrel {

// Every OpenGL entry point but the window system's (see windowsystem.hpp);
// empty until bound.
struct GLTable {
#define TANDREL_GL(name) decltype(&::name) name = nullptr;
#define TANDREL_GL_VERSION(version, name) decltype(&::name) name = nullptr;
#define TANDREL_GL_EXTENSION_SLOT(name) decltype(&::name) name = nullptr;
#include "binding/opengl/gl_extension_slots.inc"
#include "binding/opengl/gl_functions.inc"
#include "binding/opengl/gl_versions.inc"
#undef TANDREL_GL_EXTENSION_SLOT
#undef TANDREL_GL_VERSION
#undef TANDREL_GL

    template <typename F>
    void forEachSlot(F&& f) {
#define TANDREL_GL(name) f(static_cast<void*>(&name), #name);
#define TANDREL_GL_VERSION(version, name) f(static_cast<void*>(&name), #name);
#define TANDREL_GL_EXTENSION_SLOT(name) f(static_cast<void*>(&name), #name);
#include "binding/opengl/gl_extension_slots.inc"
#include "binding/opengl/gl_functions.inc"
#include "binding/opengl/gl_versions.inc"
#undef TANDREL_GL_EXTENSION_SLOT
#undef TANDREL_GL_VERSION
#undef TANDREL_GL
    }
};

extern GLTable gl;

// The version code (major x 10 + minor) of a GL_VERSION string: the first of
// 4.0, 3.3, ... 1.1 it begins with, 40 when it begins with none of them.
int glVersionCode(const char* versionString);

class VandorGLLoader : public SharedLibLoader {
public:
    VandorGLLoader() : SharedLibLoader(defaultLibNames.gl) {}
    // OpenGL 1.0 and 1.1, which must exist, then the window system's
    // functions, which may not.
    void bindAllSymbols() override;

    // The highest OpenGL version bound so far: 11 once the library is loaded.
    virtual int loadedVersion() const;
    // Computes the state of every extension of the table for the current
    // context and binds the functions of those the driver lists.
    virtual void loadExtensions();
    // Sorted names of the loaded extensions.
    virtual std::vector<std::string> loadedExtensionNames() const;
    // Sorted names of the others, each followed by why it is not loaded.
    virtual std::vector<std::string> notLoadedExtensionNames() const;
    // Whether the driver lists the name as a whole entry of GL_EXTENSIONS or,
    // failing that, of the extension string of the context's window system.
    virtual bool isExtensionSupported(const std::string& name);
    virtual bool isExtensionLoaded(const std::string& name) const;
    virtual GLExtensionState extensionState(const std::string& name) const;
    // Binds what 1.2 ... 2.1 added, up to the context's version; entry points
    // of versions up to minVersion must exist.
    virtual void loadExtendedVersions(int minVersion);
    // The same for 3.0 ... 4.0.
    virtual void loadModernVersions(int minVersion);
    // "OpenGL Version 1.2" for 12, "OpenGL Version None" for 0.
    virtual std::string versionString(int version) const;
    // Whether the window system (GLX or EGL, WGL) has a current context.
    virtual bool hasContext() const;
    // The refresh rate in Hz of the display the current context shows on,
    // where its window system tells; 0 where it cannot be known.
    virtual double refreshRate() const;
    // Binds through the lookup of the current context's window system; a
    // missing optional entry point leaves the slot as it was.
    virtual void bindContextSymbol(void* slot, const std::string& name, bool mustExist);

    // The version code of the current context's GL_VERSION string.
    int contextVersion() const;
    std::size_t boundSymbolCount() const override;

protected:
    // Every slot of the OpenGL and window-system tables, and what the context brought:
    // the version bound and the extension table.
    void clearSymbols() override;

private:
    void loadVersions(int firstVersion, int lastVersion, int minVersion, const char* noContextMessage);
    void requireContext(const char* message) const;
    // The states of one table's extensions; the functions follow one
    // extension after another.
    void loadExtensions(std::span<const ExtensionEntry> extensions, std::span<const FunctionEntry> functions);
    const std::unordered_set<std::string>& windowSystemExtensions();

    int loadedVersion_ = 0;
    std::map<std::string, GLExtensionState> extensionStates_;
    // The drivers' extension strings, split into entries once per loadExtensions.
    std::optional<std::unordered_set<std::string>> glExtensions_;
    std::optional<std::unordered_set<std::string>> windowExtensions_;
};

VandorGLLoader& vandorGL();

} // namespace tandrel
