#include "framework/core/event.hpp"

#include "binding/sdl/sdl.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <type_traits>
#include <utility>

namespace tandrel {

namespace {

// Shared by every event manager of a thread: the time of the previous update
// and the running second that fps is counted over.
struct FrameClock {
    std::uint32_t previousTicks = 0;
    std::uint32_t accumulatedMs = 0;
    std::int32_t updates = 0;
};
thread_local FrameClock frameClock;

// A bad kind is a bug in the caller, not a run-time condition, and indexing
// the tables with it would corrupt memory: stop here, in release builds too.
std::size_t tableIndex(EventType kind) {
    const auto index = static_cast<std::int32_t>(kind);
    if (index < 0 || index >= eventTypeCount) {
        std::fprintf(stderr, "EventManager: event kind %d is out of range\n", index);
        std::abort();
    }
    return static_cast<std::size_t>(index);
}

// The symbol as the integer SDL stored: a value past SDLKey's enumerators
// would be undefined behaviour to read as the enumeration.
std::int32_t keySymbol(const SDL_Event& event) {
    std::underlying_type_t<SDLKey> raw;
    static_assert(sizeof raw == sizeof event.key.keysym.sym);
    std::memcpy(&raw, &event.key.keysym.sym, sizeof raw);
    return static_cast<std::int32_t>(raw);
}

template <typename Table>
bool inRange(const Table& table, std::int32_t index) {
    return index >= 0 && static_cast<std::size_t>(index) < table.size();
}

} // namespace

EventManager::EventManager(std::int32_t windowWidth, std::int32_t windowHeight)
    : windowWidth(windowWidth), windowHeight(windowHeight) {
    // Registered first, so each has id 0 and the state is current before any
    // handler added later runs.
    addHandler(EventType::MouseMotion, [this] {
        mouseX = eventMouseX;
        mouseY = eventMouseY;
    });
    addHandler(EventType::MouseButtonDown, [this] {
        if (eventButton == SDL_BUTTON_LEFT) lmbPressed = true;
        if (eventButton == SDL_BUTTON_RIGHT) rmbPressed = true;
        if (eventButton == SDL_BUTTON_MIDDLE) mmbPressed = true;
    });
    addHandler(EventType::MouseButtonUp, [this] {
        if (eventButton == SDL_BUTTON_LEFT) lmbPressed = false;
        if (eventButton == SDL_BUTTON_RIGHT) rmbPressed = false;
        if (eventButton == SDL_BUTTON_MIDDLE) mmbPressed = false;
    });
    addHandler(EventType::MouseDoubleClick, [] {});
    addHandler(EventType::JoystickButtonDown, [this] {
        if (!inRange(joyButtonPressed, eventJoyButton)) return;
        joyButtonPressed[eventJoyButton] = true;
        if (auto* device = eventJoystick()) device->buttonPressed[eventJoyButton] = true;
    });
    addHandler(EventType::JoystickButtonUp, [this] {
        if (!inRange(joyButtonPressed, eventJoyButton)) return;
        joyButtonPressed[eventJoyButton] = false;
        if (auto* device = eventJoystick()) device->buttonPressed[eventJoyButton] = false;
    });
    addHandler(EventType::JoystickAxisMotion, [this] {
        if (!inRange(joyAxis, eventJoyAxis)) return;
        joyAxis[eventJoyAxis] = eventJoyAxisValue;
        if (auto* device = eventJoystick()) device->axis[eventJoyAxis] = eventJoyAxisValue;
    });
    addHandler(EventType::JoystickHatMotion, [this] {
        auto* device = eventJoystick();
        if (device && inRange(device->hat, eventJoyHat)) device->hat[eventJoyHat] = eventJoyHatValue;
    });
    openJoysticks();
}

void EventManager::openJoysticks() {
    if (!sdl.SDL_WasInit(SDL_INIT_JOYSTICK)) return;
    const int count = sdl.SDL_NumJoysticks();
    if (count <= 0) return;
    std::printf("Number of joysticks: %d\n", count);
    for (int i = 0; i < count; ++i) {
        const char* name = sdl.SDL_JoystickName(i);
        Joystick joystick{nullptr, name ? name : "", i};
        std::printf("Joystick %d: %s\n", i, joystick.name.c_str());
        joystick.handle = sdl.SDL_JoystickOpen(i);
        if (!joystick.handle) {
            std::printf("Failed to open joystick %d\n", i);
            continue;
        }
        joysticks.emplace(i, std::move(joystick));
    }
}

EventManager::JoystickState* EventManager::eventJoystick() {
    return inRange(joystickStates, eventJoyDevice) ? &joystickStates[eventJoyDevice] : nullptr;
}

std::int32_t EventManager::addHandler(EventType kind, Handler handler) {
    const std::size_t index = tableIndex(kind);
    const std::int32_t id = nextHandlerId[index]++;
    handlers[index].emplace(id, std::move(handler));
    return id;
}

void EventManager::removeHandler(EventType kind, std::int32_t id) { handlers[tableIndex(kind)].erase(id); }

void EventManager::dispatch(EventType kind) {
    for (auto& [id, handler] : handlers[tableIndex(kind)]) handler();
}

void EventManager::advanceClock() {
    const std::uint32_t now = sdl.SDL_GetTicks();
    // Unsigned, so a wrap of SDL's 32-bit tick count still gives the interval.
    const std::uint32_t delta = now - frameClock.previousTicks;
    frameClock.previousTicks = now;
    deltaTimeMs = delta;
    deltaTime = delta * 0.001;

    frameClock.accumulatedMs += delta;
    ++frameClock.updates;
    if (frameClock.accumulatedMs >= 1000) {
        fps = frameClock.updates;
        frameClock.updates = 0;
        frameClock.accumulatedMs = 0;
        averageFrameTime = 1.0 / fps;
    }
}

void EventManager::update() {
    advanceClock();

    if (doubleClickArmed) ++doubleClickFrames;
    if (doubleClickFrames > doubleClickWindow) {
        doubleClickArmed = false;
        doubleClickFrames = 0;
    }

    if (sdl.SDL_WasInit(SDL_INIT_JOYSTICK)) sdl.SDL_JoystickUpdate();

    SDL_Event event;
    while (sdl.SDL_PollEvent(&event)) handle(event);
}

void EventManager::waitForEvent(std::optional<std::uint32_t> until) {
    constexpr std::uint32_t pollMs = 10;
    SDL_Event event;
    for (;;) {
        sdl.SDL_PumpEvents();
        // An error (-1) ends the wait too: the update after it will say more.
        if (sdl.SDL_PeepEvents(&event, 1, SDL_PEEKEVENT, SDL_ALLEVENTS) != 0) return;
        std::uint32_t nap = pollMs;
        if (until) {
            // Signed, so that a deadline just behind a wrapped tick count has passed.
            const auto left = static_cast<std::int32_t>(*until - sdl.SDL_GetTicks());
            if (left <= 0) return;
            nap = std::min(nap, static_cast<std::uint32_t>(left));
        }
        sdl.SDL_Delay(nap);
    }
}

void EventManager::restartClock() {
    const std::uint32_t now = sdl.SDL_GetTicks();
    // The second that fps is counted over still runs on.
    frameClock.accumulatedMs += now - frameClock.previousTicks;
    frameClock.previousTicks = now;
}

void EventManager::handle(const SDL_Event& event) {
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        const bool down = event.type == SDL_KEYDOWN;
        eventKey = keySymbol(event);
        eventCharacter = down ? event.key.keysym.unicode : 0;
        // Handlers run before the table changes, so they see the previous state.
        dispatch(down ? EventType::KeyDown : EventType::KeyUp);
        if (inRange(keyPressed, eventKey)) keyPressed[eventKey] = down;
        break;
    }
    case SDL_MOUSEMOTION:
        eventMouseX = event.motion.x;
        eventMouseY = windowHeight - event.motion.y;
        dispatch(EventType::MouseMotion);
        break;
    case SDL_MOUSEBUTTONDOWN:
        eventButton = event.button.button;
        if (!doubleClickArmed) {
            doubleClickArmed = true;
        } else {
            doubleClickArmed = false;
            doubleClickFrames = 0;
            dispatch(EventType::MouseDoubleClick);
        }
        dispatch(EventType::MouseButtonDown);
        break;
    case SDL_MOUSEBUTTONUP:
        eventButton = event.button.button;
        dispatch(EventType::MouseButtonUp);
        break;
    case SDL_JOYAXISMOTION:
        eventJoyDevice = event.jaxis.which;
        eventJoyAxis = event.jaxis.axis;
        eventJoyAxisValue = event.jaxis.value;
        dispatch(EventType::JoystickAxisMotion);
        break;
    case SDL_JOYHATMOTION:
        eventJoyDevice = event.jhat.which;
        eventJoyHat = event.jhat.hat;
        eventJoyHatValue = event.jhat.value;
        dispatch(EventType::JoystickHatMotion);
        break;
    case SDL_JOYBUTTONDOWN:
        eventJoyDevice = event.jbutton.which;
        eventJoyButton = event.jbutton.button + 1;
        dispatch(EventType::JoystickButtonDown);
        break;
    case SDL_JOYBUTTONUP:
        eventJoyDevice = event.jbutton.which;
        eventJoyButton = event.jbutton.button + 1;
        dispatch(EventType::JoystickButtonUp);
        break;
    case SDL_QUIT: dispatch(EventType::Quit); break;
    case SDL_VIDEORESIZE:
        eventWidth = windowWidth = event.resize.w;
        eventHeight = windowHeight = event.resize.h;
        dispatch(EventType::Resize);
        break;
    default: break;
    }
}

void EventManager::closeJoysticks() {
    for (auto& [index, joystick] : joysticks) sdl.SDL_JoystickClose(joystick.handle);
    // No handle outlives its close, so a second call cannot close one twice.
    joysticks.clear();
}

} // namespace tandrel
