#pragma once

#include "binding/util/sharedlib.hpp"

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

namespace tandrel {

// Loads one media library and binds its entry points into the process-wide table.
class SharedLibLoader {
public:
    explicit SharedLibLoader(std::string libNames) : libNames(std::move(libNames)) {}
    SharedLibLoader(const SharedLibLoader&) = delete;
    SharedLibLoader& operator=(const SharedLibLoader&) = delete;
    virtual ~SharedLibLoader() = default;

    // From the platform's default candidate list.
    virtual void load();
    // From a comma-separated list; blanks around each name are ignored.
    virtual void load(const std::string& names);
    // A bind that raises leaves the library unloaded and every slot empty, so
    // that the next load tries again instead of finding a half-bound table.
    virtual void load(const std::vector<std::string>& names);
    // Empties the slots as well: none may point into a library that is gone.
    virtual void unload();
    virtual bool isLoaded() const;
    virtual void bindAllSymbols() = 0;
    virtual void* loadSymbol(const std::string& name);
    virtual SharedLib& sharedLib();
    // slot is the address of a function-pointer slot of the table.
    virtual void bindSymbol(void* slot, const std::string& name, bool mustExist = true);

    // How many slots of this library's table are bound.
    virtual std::size_t boundSymbolCount() const = 0;

protected:
    // Empties every slot that bindAllSymbols (or a later bind) may have filled.
    virtual void clearSymbols() = 0;

    std::string libNames;
    SharedLib lib;
};

// Splits a comma-separated candidate list, trimming blanks around each name.
std::vector<std::string> splitLibNames(const std::string& names);

// How many slots of a table (anything with forEachSlot) are bound.
template <typename Table>
std::size_t boundSlots(Table& table) {
    std::size_t bound = 0;
    table.forEachSlot([&bound](void* slot, const char*, auto...) {
        void* address;
        std::memcpy(&address, slot, sizeof address);
        bound += address != nullptr;
    });
    return bound;
}

template <typename Table>
void clearSlots(Table& table) {
    table.forEachSlot([](void* slot, const char*, auto...) {
        void* none = nullptr;
        std::memcpy(slot, &none, sizeof none);
    });
}

// The loader of a library whose table says of each entry point whether it
// must exist: those newer than the release the program is built for may not.
template <typename Table>
class TableLoader : public SharedLibLoader {
public:
    TableLoader(std::string libNames, Table& table) : SharedLibLoader(std::move(libNames)), table(table) {}
    void bindAllSymbols() override {
        table.forEachSlot([this](void* slot, const char* name, bool mustExist) { bindSymbol(slot, name, mustExist); });
    }
    std::size_t boundSymbolCount() const override { return boundSlots(table); }

protected:
    void clearSymbols() override { clearSlots(table); }

private:
    Table& table;
};

} // namespace tandrel
