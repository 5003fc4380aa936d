#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tandrel {

// Consulted when a symbol that must exist is missing: returning true skips the
// symbol (its slot stays empty) instead of raising. One per thread; unset by default.
using MissingSymbolCallback = std::function<bool(const std::string& libName, const std::string& symbolName)>;
void setMissingSymbolCallback(MissingSymbolCallback callback);

// What a lookup of a symbol comes to, whichever lookup found (or missed) it:
// the address when found; nullptr when it is missing and optional, or required
// and skipped by the missing-symbol callback; else SymbolLoadException.
void* checkedSymbol(void* address, const std::string& libName, const std::string& symbolName, bool mustExist);

// One shared library opened with the system loader.
class SharedLib {
public:
    SharedLib() = default;
    SharedLib(const SharedLib&) = delete;
    SharedLib& operator=(const SharedLib&) = delete;
    // The library stays loaded for the life of the process: code and data it
    // handed out (GL drivers, X connections) may outlive this object.
    ~SharedLib() = default;

    // Tries the names in order and keeps the first that loads; raises
    // SharedLibLoadException naming every failed candidate when none does.
    // A list holding an empty name is refused before anything is tried: the
    // system loader would hand back the program itself for it.
    void load(const std::vector<std::string>& names);
    // The address of an exported symbol; nullptr when absent and not required.
    void* loadSymbol(const std::string& symbolName, bool mustExist = true);
    void unload();
    bool isLoaded() const { return handle_ != nullptr; }
    const std::string& name() const { return name_; }

private:
    std::string name_;
    void* handle_ = nullptr;
};

// The system loader beneath SharedLib: dlopen on Linux, LoadLibraryA on
// Windows, one file per platform.
namespace systemlib {
// The handle of the named library, or nullptr with the system's own text for
// the failure in `error` ("Unknown" when the system gives none).
void* open(const std::string& name, std::string& error);
void* symbol(void* handle, const std::string& name);
void close(void* handle);
} // namespace systemlib

} // namespace tandrel
