#include "framework/ui/i18n.hpp"

#include <cstdlib>

namespace tandrel {

// A "C" or "POSIX" locale, or none at all, gives empty parts.
std::string systemLocaleName() {
    return localeNameFrom(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
}

} // namespace tandrel
