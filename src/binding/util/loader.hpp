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
    virtual void load(const std::vector<std::string>& names);
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
    std::string libNames;
    SharedLib lib;
};

// Splits a comma-separated candidate list, trimming blanks around each name.
std::vector<std::string> splitLibNames(const std::string& names);

// How many slots of a table (anything with forEachSlot) are bound.
template <typename Table>
std::size_t boundSlots(Table& table) {
    std::size_t bound = 0;
    table.forEachSlot([&bound](void* slot, const char*) {
        void* address;
        std::memcpy(&address, slot, sizeof address);
        bound += address != nullptr;
    });
    return bound;
}

// The loader of a library whose every listed entry point must exist.
template <typename Table>
class TableLoader : public SharedLibLoader {
public:
    TableLoader(std::string libNames, Table& table) : SharedLibLoader(std::move(libNames)), table(table) {}
    void bindAllSymbols() override {
        table.forEachSlot([this](void* slot, const char* name) { bindSymbol(slot, name); });
    }
    std::size_t boundSymbolCount() const override { return boundSlots(table); }

private:
    Table& table;
};

} // namespace tandrel
