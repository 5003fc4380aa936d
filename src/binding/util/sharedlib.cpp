#include "binding/util/sharedlib.hpp"

#include "binding/util/exception.hpp"

namespace tandrel {

namespace {
thread_local MissingSymbolCallback callback;

// The system loaders hand back the program itself for an empty name, which would then pass for the library.
void refuseEmptyNames(const std::vector<std::string>& names) {
    std::string list;
    bool empty = false;
    for (const auto& name : names) {
        list += (&name == &names.front() ? "" : ", ") + name;
        empty = empty || name.find_first_not_of(" \t\r\n") == std::string::npos;
    }
    if (empty) throw VandorException("Refused an empty name in the shared library candidate list \"" + list + "\"");
}
} // namespace

void setMissingSymbolCallback(MissingSymbolCallback cb) { callback = std::move(cb); }

void* checkedSymbol(void* address, const std::string& libName, const std::string& symbolName, bool mustExist) {
    if (address || !mustExist) return address;
    if (callback && callback(libName, symbolName)) return nullptr;
    throw SymbolLoadException(libName, symbolName);
}

void SharedLib::load(const std::vector<std::string>& names) {
    if (isLoaded()) return;
    refuseEmptyNames(names);
    std::string failures;
    for (const auto& candidate : names) {
        std::string error;
        if (void* handle = systemlib::open(candidate, error)) {
            handle_ = handle;
            name_ = candidate;
            return;
        }
        failures += "\n\t" + candidate + " - " + error;
    }
    throw SharedLibLoadException("Failed to load one or more shared libraries:" + failures);
}

void* SharedLib::loadSymbol(const std::string& symbolName, bool mustExist) {
    return checkedSymbol(handle_ ? systemlib::symbol(handle_, symbolName) : nullptr, name_, symbolName, mustExist);
}

void SharedLib::unload() {
    if (!handle_) return;
    systemlib::close(handle_);
    handle_ = nullptr;
}

} // namespace tandrel
