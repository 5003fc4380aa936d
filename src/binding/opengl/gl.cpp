#include "binding/opengl/gl.hpp"

#include "binding/util/exception.hpp"

#include <cstring>
#include <iterator>

namespace tandrel {

GLTable gl;

namespace {

struct VersionEntry {
    int version;
    const char* name;
    void* slot;
};

const VersionEntry versionEntries[] = {
#define TANDREL_GL_VERSION(version, name) {version, #name, &gl.name},
#include "binding/opengl/gl_versions.inc"
#undef TANDREL_GL_VERSION
};

const int extendedVersions[] = {12, 13, 14, 15, 20, 21};

} // namespace

int glVersionCode(const char* versionString) {
    static const struct {
        const char* prefix;
        int code;
    } known[] = {{"4.0", 40}, {"3.3", 33}, {"3.2", 32}, {"3.1", 31}, {"3.0", 30}, {"2.1", 21},
                 {"2.0", 20}, {"1.5", 15}, {"1.4", 14}, {"1.3", 13}, {"1.2", 12}, {"1.1", 11}};
    if (versionString)
        for (const auto& k : known)
            if (std::strncmp(versionString, k.prefix, 3) == 0) return k.code;
    return 40;
}

std::string glVersionName(int code) {
    switch (code) {
    case 0: return "OpenGL Version None";
    case 11: case 12: case 13: case 14: case 15: case 20: case 21:
    case 30: case 31: case 32: case 33: case 40:
        return "OpenGL Version " + std::to_string(code / 10) + "." + std::to_string(code % 10);
    default: return "Uknown OpenGL Version";
    }
}

void VandorGLLoader::bindAllSymbols() {
#define TANDREL_GL(name) bindSymbol(&gl.name, #name);
#include "binding/opengl/gl_functions.inc"
#undef TANDREL_GL
    bindSymbol(&gl.glXGetProcAddressARB, "glXGetProcAddressARB", false);
    bindSymbol(&gl.glXGetCurrentContext, "glXGetCurrentContext", false);
    loadedVersion_ = 11;
}

int VandorGLLoader::loadedVersion() const { return loadedVersion_; }

std::string VandorGLLoader::versionString(int version) const { return glVersionName(version); }

bool VandorGLLoader::hasContext() const { return gl.glXGetCurrentContext && gl.glXGetCurrentContext() != nullptr; }

int VandorGLLoader::contextVersion() const {
    return glVersionCode(reinterpret_cast<const char*>(gl.glGetString(GL_VERSION)));
}

void VandorGLLoader::bindContextSymbol(void* slot, const std::string& name, bool mustExist) {
    GLProc address = gl.glXGetProcAddressARB
                         ? gl.glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name.c_str()))
                         : nullptr;
    if (!address) {
        if (!mustExist) return;
        const auto& callback = missingSymbolCallback();
        if (callback && callback(lib.name(), name)) return;
        throw SymbolLoadException(lib.name(), name);
    }
    std::memcpy(slot, &address, sizeof address);
}

void VandorGLLoader::loadExtendedVersions(int minVersion) {
    if (!hasContext())
        throw VandorException(
            "An OpenGL context must be created and activated before attempting to load extended versions.");
    const int version = contextVersion();
    if (version < minVersion)
        throw VandorException("Required GL version " + versionString(minVersion) + " is not available.");
    for (int step : extendedVersions) {
        if (version < step) break;
        for (const auto& entry : versionEntries)
            if (entry.version == step) bindContextSymbol(entry.slot, entry.name, minVersion >= step);
        loadedVersion_ = step;
    }
}

VandorGLLoader& vandorGL() {
    thread_local VandorGLLoader loader;
    return loader;
}

} // namespace tandrel
