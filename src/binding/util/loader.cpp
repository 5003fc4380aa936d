#include "binding/util/loader.hpp"

#include <cstring>

namespace tandrel {

std::vector<std::string> splitLibNames(const std::string& names) {
    std::vector<std::string> result;
    std::size_t start = 0;
    while (start <= names.size()) {
        std::size_t end = names.find(',', start);
        if (end == std::string::npos) end = names.size();
        std::string part = names.substr(start, end - start);
        const char* blanks = " \t\r\n";
        std::size_t first = part.find_first_not_of(blanks);
        std::size_t last = part.find_last_not_of(blanks);
        result.push_back(first == std::string::npos ? std::string() : part.substr(first, last - first + 1));
        start = end + 1;
    }
    return result;
}

void SharedLibLoader::load() { load(libNames); }

// An empty string splits into one empty name, which the library refuses.
void SharedLibLoader::load(const std::string& names) { load(splitLibNames(names)); }

void SharedLibLoader::load(const std::vector<std::string>& names) {
    if (lib.isLoaded()) return;
    lib.load(names);
    try {
        bindAllSymbols();
    } catch (...) {
        unload();
        throw;
    }
}

void SharedLibLoader::unload() {
    clearSymbols();
    lib.unload();
}
bool SharedLibLoader::isLoaded() const { return lib.isLoaded(); }
void* SharedLibLoader::loadSymbol(const std::string& name) { return lib.loadSymbol(name, true); }
SharedLib& SharedLibLoader::sharedLib() { return lib; }

void SharedLibLoader::bindSymbol(void* slot, const std::string& name, bool mustExist) {
    void* address = lib.loadSymbol(name, mustExist);
    // POSIX guarantees that a data address from dlsym converts to a function pointer.
    std::memcpy(slot, &address, sizeof address);
}

} // namespace tandrel
