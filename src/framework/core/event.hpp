#pragma once

#include <SDL/SDL.h>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>

namespace tandrel {

// The framework's event kinds. The manager raises KeyDown to
// JoystickHatMotion; the reserved kinds accept handlers so that programs can
// agree on their own meanings, but nothing raises them.
enum class EventType : std::int32_t {
    KeyDown = 0,
    KeyUp = 1,
    MouseMotion = 2,
    MouseButtonDown = 3,
    MouseButtonUp = 4,
    MouseDoubleClick = 5,
    JoystickButtonDown = 6,
    JoystickButtonUp = 7,
    JoystickAxisMotion = 8,
    Resize = 9,
    Quit = 10,
    JoystickHatMotion = 11,
    Reserved12 = 12,
    Reserved13 = 13,
    Reserved14 = 14,
    Reserved15 = 15,
    Reserved16 = 16,
    Reserved17 = 17,
};

inline constexpr int eventTypeCount = 18;

// Turns SDL's queue into the framework's event kinds and keeps the input state
// and the frame clock. Handlers take no arguments: while one runs, the fields
// named event... hold what the event carried.
class EventManager {
public:
    using Handler = std::function<void()>;

    struct Joystick {
        SDL_Joystick* handle = nullptr;
        std::string name;
        std::int32_t id = 0;
    };

    static constexpr int keyCount = 512;
    static constexpr int joyButtonCount = 256;
    static constexpr int joyAxisCount = 256;
    static constexpr int joyHatCount = 16;
    // Devices whose state is kept; events of later ones are still dispatched.
    static constexpr int joyDeviceCount = 8;

    // One device's controls, indexed as the manager-wide tables are.
    struct JoystickState {
        std::array<bool, joyButtonCount> buttonPressed{};
        std::array<std::int16_t, joyAxisCount> axis{};
        // SDL_HAT_CENTERED or an or of SDL_HAT_UP, _RIGHT, _DOWN and _LEFT.
        std::array<std::uint8_t, joyHatCount> hat{};
    };
    // Updates within which a second press still completes a double click.
    static constexpr std::uint32_t doubleClickWindow = 50;

    EventManager(std::int32_t windowWidth, std::int32_t windowHeight);
    EventManager(const EventManager&) = delete;
    EventManager& operator=(const EventManager&) = delete;

    // Ids of a kind start at 0 and are never reused. A kind outside the
    // enumeration ends the program.
    std::int32_t addHandler(EventType kind, Handler handler);
    // An id that is not registered is ignored.
    void removeHandler(EventType kind, std::int32_t id);
    // Advances the clock and dispatches every pending SDL event. A handler
    // must not add or remove handlers of the kind being dispatched.
    void update();
    // Returns once SDL's queue holds an event (left there for update) or,
    // when `until` is given, once SDL's tick count reaches it. SDL 1.2 has
    // no wait with a time limit; this one looks as its own SDL_WaitEvent
    // does, pumping the window system and the joysticks every 10 ms and
    // sleeping in between.
    void waitForEvent(std::optional<std::uint32_t> until);
    // The next update measures its deltaTime from now: time spent waiting
    // while nothing moved is no time of any animation, so one that starts
    // after a wait begins at its first step.
    void restartClock();
    void closeJoysticks();

    std::array<std::map<std::int32_t, Handler>, eventTypeCount> handlers;
    std::array<std::int32_t, eventTypeCount> nextHandlerId{};

    bool doubleClickArmed = false;
    std::uint32_t doubleClickFrames = 0;
    std::map<std::int32_t, Joystick> joysticks;
    bool running = true;

    std::array<bool, keyCount> keyPressed{};
    std::int32_t mouseX = 0;
    std::int32_t mouseY = 0;
    bool lmbPressed = false;
    bool rmbPressed = false;
    bool mmbPressed = false;
    // Indexed by the one-based button number; entry 0 stays unused.
    std::array<bool, joyButtonCount> joyButtonPressed{};
    std::array<std::int16_t, joyAxisCount> joyAxis{};
    // By SDL's device index; the tables above merge every device.
    std::array<JoystickState, joyDeviceCount> joystickStates{};

    std::int32_t eventKey = 0;
    // The character a key press typed, once SDL_EnableUNICODE asked SDL to
    // tell (UCS-2, as SDL 1.2 gives it); 0 for none and on releases.
    std::uint32_t eventCharacter = 0;
    std::int32_t eventButton = 0;
    std::int32_t eventJoyButton = 0;
    std::int32_t eventJoyAxis = 0;
    std::int16_t eventJoyAxisValue = 0;
    std::int32_t eventJoyHat = 0;
    std::uint8_t eventJoyHatValue = 0;
    // The device index of the last joystick event of any kind.
    std::int32_t eventJoyDevice = 0;
    std::int32_t eventMouseX = 0;
    std::int32_t eventMouseY = 0;
    std::int32_t eventWidth = 0;
    std::int32_t eventHeight = 0;
    std::int32_t windowWidth = 0;
    std::int32_t windowHeight = 0;

    double deltaTime = 0;
    double averageFrameTime = 0;
    std::uint32_t deltaTimeMs = 0;
    std::int32_t fps = 0;

private:
    JoystickState* eventJoystick();
    void dispatch(EventType kind);
    void handle(const SDL_Event& event);
    void advanceClock();
    void openJoysticks();
};

} // namespace tandrel
