#include "game/memory/datafolder.hpp"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace tandrel::memory {

namespace {
// A relative value is to be ignored: it would depend on where the game was started.
std::filesystem::path absoluteFromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value) return {};
    std::filesystem::path path(value);
    return path.is_absolute() ? path : std::filesystem::path();
}
} // namespace

std::filesystem::path dataFolder() {
    if (auto data = absoluteFromEnvironment("XDG_DATA_HOME"); !data.empty()) return data / "tandrel";
    std::filesystem::path home = absoluteFromEnvironment("HOME");
    if (home.empty()) {
        const passwd* entry = getpwuid(getuid());
        if (entry && entry->pw_dir && *entry->pw_dir) home = entry->pw_dir;
    }
    return home.empty() ? home : home / ".local" / "share" / "tandrel";
}

} // namespace tandrel::memory
