#include "binding/util/exception.hpp"

namespace tandrel {

SymbolLoadException::SymbolLoadException(const std::string& libName, const std::string& symbolName)
    : VandorException("Failed to load symbol " + symbolName + " from shared library " + libName),
      symbolName(symbolName) {}

} // namespace tandrel
