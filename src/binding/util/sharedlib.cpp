#include "binding/util/sharedlib.hpp"

#include "binding/util/exception.hpp"

#include <dlfcn.h>

namespace tandrel {

namespace {
thread_local MissingSymbolCallback callback;
}

void setMissingSymbolCallback(MissingSymbolCallback cb) { callback = std::move(cb); }
const MissingSymbolCallback& missingSymbolCallback() { return callback; }

void SharedLib::load(const std::vector<std::string>& names) {
    if (isLoaded()) return;
    std::string failures;
    for (const auto& candidate : names) {
        dlerror();
        if (void* handle = dlopen(candidate.c_str(), RTLD_NOW | RTLD_GLOBAL)) {
            handle_ = handle;
            name_ = candidate;
            return;
        }
        const char* error = dlerror();
        failures += "\n\t" + candidate + " - " + (error ? error : "Unknown");
    }
    throw SharedLibLoadException("Failed to load one or more shared libraries:" + failures);
}

void* SharedLib::loadSymbol(const std::string& symbolName, bool mustExist) {
    void* address = handle_ ? dlsym(handle_, symbolName.c_str()) : nullptr;
    if (address || !mustExist) return address;
    if (callback && callback(name_, symbolName)) return nullptr;
    throw SymbolLoadException(name_, symbolName);
}

void SharedLib::unload() {
    if (!handle_) return;
    dlclose(handle_);
    handle_ = nullptr;
}

} // namespace tandrel
