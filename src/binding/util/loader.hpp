#pragma once

#include "binding/util/sharedlib.hpp"

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

protected:
    std::string libNames;
    SharedLib lib;
};

// Splits a comma-separated candidate list, trimming blanks around each name.
std::vector<std::string> splitLibNames(const std::string& names);

} // namespace tandrel
