#include "game/memory/datafolder.hpp"

#include <cstdlib>

namespace tandrel::memory {

// Read as wide characters, so that a user name outside the ANSI code page
// still names the right folder.
std::filesystem::path dataFolder() {
    const wchar_t* appData = _wgetenv(L"APPDATA");
    if (!appData || !*appData) return {};
    return std::filesystem::path(appData) / L"Tandrel";
}

} // namespace tandrel::memory
