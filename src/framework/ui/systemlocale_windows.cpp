#include "framework/ui/i18n.hpp"

#include <windows.h>

namespace tandrel {

namespace {
// One ISO code of the user's default locale; empty when the system has none
// to give, since the buffer then holds no string.
std::string localeInfo(LCTYPE type) {
    char buffer[16];
    return GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof buffer) ? buffer : "";
}
} // namespace

std::string systemLocaleName() {
    return localeInfo(LOCALE_SISO639LANGNAME) + "_" + localeInfo(LOCALE_SISO3166CTRYNAME);
}

} // namespace tandrel
