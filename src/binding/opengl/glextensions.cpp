// The extension table of the OpenGL loader: which extensions the driver
// lists, binding their functions, and the reports.

#include "binding/opengl/gl.hpp"

#include "binding/opengl/windowsystem.hpp"
#include "binding/util/exception.hpp"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace tandrel {

namespace {

#define TANDREL_EXTENSION_LIST "binding/opengl/gl_extensions.inc"
#include "binding/opengl/extension_entries.inc"
#undef TANDREL_EXTENSION_LIST

// The entries of a space-separated extension string. An entry counts only as
// a whole: "GL_EXT_texture" is not listed by "GL_EXT_texture3D".
std::unordered_set<std::string> entriesOf(const char* list) {
    std::unordered_set<std::string> entries;
    for (const char* at = list ? list : ""; *at;) {
        const std::size_t length = std::strcspn(at, " ");
        if (length) entries.emplace(at, length);
        at += length;
        at += *at == ' ';
    }
    return entries;
}

} // namespace

// Callers depend on the exact wording of these messages ("chacking" included).
constexpr const char* noContextToLoad =
    "An OpenGL context must be created and activated before attempting to load extensions.";
constexpr const char* noContextToCheckSupport =
    "An OpenGL context must be created and activated before attempting to check for supported extensions.";
constexpr const char* noContextToCheckLoaded =
    "An OpenGL context must be created and activated, and extensions must be loaded, before checking for loaded "
    "extensions.";
constexpr const char* noContextToCheckState =
    "An OpenGL context must be created and activated, and extensions must be loaded, before chacking extension "
    "state.";

void VandorGLLoader::loadExtensions() {
    requireContext(noContextToLoad);
    // A new context may come from another driver: read its strings afresh.
    glExtensions_.reset();
    windowExtensions_.reset();
    loadExtensions(extensionEntries, functionEntries);
    loadExtensions(windowsystem::extensions(), windowsystem::extensionFunctions());
}

void VandorGLLoader::loadExtensions(std::span<const ExtensionEntry> extensions,
                                    std::span<const FunctionEntry> functions) {
    const FunctionEntry* function = functions.data();
    for (const auto& extension : extensions) {
        const FunctionEntry* const end = function + extension.functionCount;
        GLExtensionState state = GLExtensionState::ExtUnsupported;
        if (isExtensionSupported(extension.name)) {
            state = GLExtensionState::ExtLoaded;
            for (const FunctionEntry* f = function; f != end; ++f) {
                void* address = windowsystem::procAddress(f->name);
                if (!address) {
                    state = GLExtensionState::ExtLoadFailed; // those bound before it stay bound
                    break;
                }
                std::memcpy(f->slot, &address, sizeof address);
            }
        }
        extensionStates_[extension.name] = state;
        function = end;
    }
}

std::vector<std::string> VandorGLLoader::loadedExtensionNames() const {
    std::vector<std::string> names;
    for (const auto& [name, state] : extensionStates_)
        if (state == GLExtensionState::ExtLoaded) names.push_back(name);
    std::sort(names.begin(), names.end());
    return names;
}

// Callers depend on the exact wording of the two reasons.
std::vector<std::string> VandorGLLoader::notLoadedExtensionNames() const {
    std::vector<std::string> names;
    for (const auto& [name, state] : extensionStates_) {
        if (state == GLExtensionState::ExtUnsupported) names.push_back(name + " (Unsupported by Driver)");
        if (state == GLExtensionState::ExtLoadFailed) names.push_back(name + " (Failed to Load)");
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool VandorGLLoader::isExtensionSupported(const std::string& name) {
    requireContext(noContextToCheckSupport);
    if (!glExtensions_) glExtensions_ = entriesOf(reinterpret_cast<const char*>(gl.glGetString(GL_EXTENSIONS)));
    return glExtensions_->count(name) || windowSystemExtensions().count(name);
}

// Asked only when GL_EXTENSIONS does not list a name, and then once.
const std::unordered_set<std::string>& VandorGLLoader::windowSystemExtensions() {
    if (!windowExtensions_) windowExtensions_ = entriesOf(windowsystem::extensionString());
    return *windowExtensions_;
}

bool VandorGLLoader::isExtensionLoaded(const std::string& name) const {
    requireContext(noContextToCheckLoaded);
    auto found = extensionStates_.find(name);
    return found != extensionStates_.end() && found->second == GLExtensionState::ExtLoaded;
}

GLExtensionState VandorGLLoader::extensionState(const std::string& name) const {
    requireContext(noContextToCheckState);
    auto found = extensionStates_.find(name);
    return found == extensionStates_.end() ? GLExtensionState::ExtNotListed : found->second;
}

} // namespace tandrel
