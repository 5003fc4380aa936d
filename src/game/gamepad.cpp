#include "game/gamepad.hpp"

#include <cstdlib>

namespace tandrel {

namespace {
std::optional<Direction> hatDirection(std::uint8_t value) {
    switch (value) {
    case SDL_HAT_LEFT: return Direction::Left;
    case SDL_HAT_RIGHT: return Direction::Right;
    case SDL_HAT_UP: return Direction::Up;
    case SDL_HAT_DOWN: return Direction::Down;
    default: return std::nullopt;
    }
}
} // namespace

std::optional<Direction> StickLatch::update(std::int16_t x, std::int16_t y) {
    const std::int32_t ax = std::abs(std::int32_t(x));
    const std::int32_t ay = std::abs(std::int32_t(y));
    const std::int32_t reach = ax > ay ? ax : ay;
    if (latched) {
        if (reach < released) latched = false;
        return std::nullopt;
    }
    if (reach < pushed) return std::nullopt;
    latched = true;
    if (ax > ay) return x < 0 ? Direction::Left : Direction::Right;
    return y < 0 ? Direction::Up : Direction::Down;
}

std::optional<PadMove> Gamepads::axisMotion(const EventManager& events) {
    const auto device = static_cast<std::size_t>(events.eventJoyDevice);
    if (device >= padCount || events.eventJoyAxis > 1) return std::nullopt;
    const auto& axes = events.joystickStates[device].axis;
    if (auto dir = sticks[device].update(axes[0], axes[1])) return PadMove{device, *dir};
    return std::nullopt;
}

// Only the first hat, the d-pad; a diagonal asks for no move.
std::optional<PadMove> Gamepads::hatMotion(const EventManager& events) {
    const auto device = static_cast<std::size_t>(events.eventJoyDevice);
    if (device >= padCount || events.eventJoyHat != 0) return std::nullopt;
    bool& latched = padLatched[device];
    if (events.eventJoyHatValue == SDL_HAT_CENTERED) latched = false;
    const auto dir = hatDirection(events.eventJoyHatValue);
    if (latched || !dir) return std::nullopt;
    latched = true;
    return PadMove{device, *dir};
}

} // namespace tandrel
