#include "binding/opengl/gl.hpp"

#include "binding/opengl/windowsystem.hpp"
#include "binding/util/exception.hpp"

#include <cstring>

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

const int versionSteps[] = {12, 13, 14, 15, 20, 21, 30, 31, 32, 33, 40};

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

void VandorGLLoader::bindAllSymbols() {
#define TANDREL_GL(name) bindSymbol(&gl.name, #name);
#include "binding/opengl/gl_functions.inc"
#undef TANDREL_GL
    windowsystem::bindFunctions(*this);
    loadedVersion_ = 11;
}

std::size_t VandorGLLoader::boundSymbolCount() const { return boundSlots(gl) + windowsystem::boundFunctions(); }

void VandorGLLoader::clearSymbols() {
    clearSlots(gl);
    windowsystem::clearFunctions();
    loadedVersion_ = 0;
    extensionStates_.clear();
    glExtensions_.reset();
    windowExtensions_.reset();
}

int VandorGLLoader::loadedVersion() const { return loadedVersion_; }

// Callers depend on the exact wording of these names ("Uknown" included).
std::string VandorGLLoader::versionString(int version) const {
    switch (version) {
    case 0: return "OpenGL Version None";
    case 11:
    case 12:
    case 13:
    case 14:
    case 15:
    case 20:
    case 21:
    case 30:
    case 31:
    case 32:
    case 33:
    case 40: return "OpenGL Version " + std::to_string(version / 10) + "." + std::to_string(version % 10);
    default: return "Uknown OpenGL Version";
    }
}

bool VandorGLLoader::hasContext() const { return windowsystem::hasContext(); }

double VandorGLLoader::refreshRate() const { return windowsystem::refreshRate(); }

void VandorGLLoader::requireContext(const char* message) const {
    if (!hasContext()) throw VandorException(message);
}

int VandorGLLoader::contextVersion() const {
    return glVersionCode(reinterpret_cast<const char*>(gl.glGetString(GL_VERSION)));
}

void VandorGLLoader::bindContextSymbol(void* slot, const std::string& name, bool mustExist) {
    void* address = checkedSymbol(windowsystem::procAddress(name), lib.name(), name, mustExist);
    if (address) std::memcpy(slot, &address, sizeof address);
}

void VandorGLLoader::loadVersions(int firstVersion, int lastVersion, int minVersion, const char* noContextMessage) {
    requireContext(noContextMessage);
    const int version = contextVersion();
    if (version < minVersion)
        throw VandorException("Required GL version " + versionString(minVersion) + " is not available.");
    for (int step : versionSteps) {
        if (step < firstVersion || step > lastVersion) continue;
        if (version < step) break;
        for (const auto& entry : versionEntries)
            if (entry.version == step) bindContextSymbol(entry.slot, entry.name, minVersion >= step);
        loadedVersion_ = step;
    }
}

// Callers depend on the exact wording of both messages.
void VandorGLLoader::loadExtendedVersions(int minVersion) {
    loadVersions(12, 21, minVersion,
                 "An OpenGL context must be created and activated before attempting to load extended versions.");
}

void VandorGLLoader::loadModernVersions(int minVersion) {
    loadVersions(30, 40, minVersion,
                 "An OpenGL context must be created and activated before attempting to load modern versions.");
}

VandorGLLoader& vandorGL() {
    thread_local VandorGLLoader loader;
    return loader;
}

} // namespace tandrel
