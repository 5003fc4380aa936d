#include "framework/core/display.hpp"

#include <cstdlib>

namespace tandrel {

namespace {
bool named(const char* variable) {
    const char* value = std::getenv(variable);
    return value && *value;
}
} // namespace

// An X server or a Wayland compositor, or a driver the user chose (one that
// needs neither, such as offscreen).
bool displayNamed() { return named("DISPLAY") || named("WAYLAND_DISPLAY") || named("SDL_VIDEODRIVER"); }

} // namespace tandrel
