#pragma once

#include <stdexcept>
#include <string>

namespace tandrel {

// Root of every failure the framework raises; what() is the exact message.
class VandorException : public std::runtime_error {
public:
    explicit VandorException(const std::string& message) : std::runtime_error(message) {}
};

class SharedLibLoadException : public VandorException {
public:
    explicit SharedLibLoadException(const std::string& message) : VandorException(message) {}
    // Left empty: the message names every library that was tried.
    std::string libName;
};

class SymbolLoadException : public VandorException {
public:
    SymbolLoadException(const std::string& libName, const std::string& symbolName);
    std::string symbolName;
};

} // namespace tandrel
