// The event manager against real SDL on its dummy video driver: events are
// pushed into SDL's own queue and drained by update().

// gtest first: the SDL table header brings in Xlib, whose macros clash with it.
#include <gtest/gtest.h>

#include "framework/core/event.hpp"

#include "binding/sdl/sdl.hpp"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace tandrel {
namespace {

// SDL ready before the event manager under test is built.
struct DummySDL {
    DummySDL() {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        vandorSDL().load();
        saved = sdl;
        initResult = sdl.SDL_Init(SDL_INIT_VIDEO);
    }
    ~DummySDL() {
        sdl = saved;
        sdl.SDL_Quit();
    }
    SDLTable saved;
    int initResult;
};

class EventManagerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(ready.initResult, 0) << sdl.SDL_GetError(); }

    static void push(SDL_Event event) { ASSERT_EQ(sdl.SDL_PushEvent(&event), 0); }
    static void pushKey(Uint8 type, int symbol) {
        SDL_Event e{};
        e.type = type;
        // Copied in as an integer: symbols past SDLKey's range are part of the test.
        std::memcpy(&e.key.keysym.sym, &symbol, sizeof e.key.keysym.sym);
        push(e);
    }
    static void pushMotion(int x, int y) {
        SDL_Event e{};
        e.type = SDL_MOUSEMOTION;
        e.motion.x = static_cast<Uint16>(x);
        e.motion.y = static_cast<Uint16>(y);
        push(e);
    }
    static void pushButton(Uint8 type, int button) {
        SDL_Event e{};
        e.type = type;
        e.button.button = static_cast<Uint8>(button);
        push(e);
    }
    static void pushJoyButton(Uint8 type, int button) {
        SDL_Event e{};
        e.type = type;
        e.jbutton.button = static_cast<Uint8>(button);
        push(e);
    }

    DummySDL ready;
    EventManager events{810, 450};
    std::vector<std::string> log;
};

TEST_F(EventManagerTest, HandlerIdsCountPerKindAndRunInOrder) {
    EXPECT_EQ(events.addHandler(EventType::KeyDown, [this] { log.push_back("first"); }), 0);
    EXPECT_EQ(events.addHandler(EventType::KeyDown, [this] { log.push_back("second"); }), 1);
    // The built-in handlers took id 0 of their own kinds only.
    EXPECT_EQ(events.addHandler(EventType::MouseMotion, [] {}), 1);
    EXPECT_EQ(events.addHandler(EventType::Reserved17, [] {}), 0);

    events.removeHandler(EventType::KeyDown, 0);
    events.removeHandler(EventType::KeyDown, 42);
    EXPECT_EQ(events.addHandler(EventType::KeyDown, [this] { log.push_back("third"); }), 2);
    pushKey(SDL_KEYDOWN, SDLK_a);
    events.update();
    EXPECT_EQ(log, (std::vector<std::string>{"second", "third"}));
}

using EventManagerDeathTest = EventManagerTest;

TEST_F(EventManagerDeathTest, KindOutOfRangeEndsTheProgram) {
    EXPECT_DEATH(events.addHandler(static_cast<EventType>(18), [] {}), "out of range");
    EXPECT_DEATH(events.removeHandler(static_cast<EventType>(-1), 0), "out of range");
}

TEST_F(EventManagerTest, MouseYCountsUpFromTheBottomOfTheCurrentWindow) {
    pushMotion(3, 0);
    events.update();
    EXPECT_EQ(events.eventMouseX, 3);
    EXPECT_EQ(events.eventMouseY, 450);
    EXPECT_EQ(events.mouseY, 450);

    pushMotion(7, 449);
    events.update();
    EXPECT_EQ(events.mouseX, 7);
    EXPECT_EQ(events.mouseY, 1);

    SDL_Event resize{};
    resize.type = SDL_VIDEORESIZE;
    resize.resize.w = 1000;
    resize.resize.h = 600;
    push(resize);
    pushMotion(0, 100);
    events.update();
    EXPECT_EQ(events.eventWidth, 1000);
    EXPECT_EQ(events.windowHeight, 600);
    EXPECT_EQ(events.mouseY, 500);
}

TEST_F(EventManagerTest, DoubleClickWithinFiftyUpdates) {
    events.addHandler(EventType::MouseDoubleClick, [this] { log.push_back("double"); });
    // Later handlers already see the button state.
    events.addHandler(EventType::MouseButtonDown, [this] { log.push_back(events.lmbPressed ? "down" : "?"); });

    // Two presses in one update: the second completes it, before its own press.
    pushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT);
    pushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_WHEELUP);
    pushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT);
    events.update();
    EXPECT_EQ(log, (std::vector<std::string>{"down", "double", "down"}));
    EXPECT_FALSE(events.doubleClickArmed);
    EXPECT_FALSE(events.lmbPressed);

    // Fifty updates after the arming one is still in time.
    log.clear();
    pushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT);
    events.update();
    for (int i = 0; i < 49; ++i) events.update();
    pushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT);
    events.update();
    EXPECT_EQ(log, (std::vector<std::string>{"down", "double", "down"}));

    // Fifty-one is too late: that press arms the detector again.
    log.clear();
    pushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT);
    events.update();
    for (int i = 0; i < 50; ++i) events.update();
    pushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT);
    events.update();
    EXPECT_EQ(log, (std::vector<std::string>{"down", "down"}));
    EXPECT_TRUE(events.doubleClickArmed);
    EXPECT_EQ(events.doubleClickFrames, 0u);
}

Uint32 fakeNow = 0;
Uint32 fakeTicks() { return fakeNow; }

TEST_F(EventManagerTest, ClockMeasuresFromInitAndCountsWholeSeconds) {
    sdl.SDL_GetTicks = &fakeTicks;
    fakeNow = 400;
    events.update();
    EXPECT_EQ(events.deltaTimeMs, 400u); // the first update measures from 0
    fakeNow = 800;
    events.update();
    EXPECT_EQ(events.fps, 0);
    fakeNow = 1100;
    events.update();
    EXPECT_EQ(events.deltaTimeMs, 300u);
    EXPECT_DOUBLE_EQ(events.deltaTime, 0.3);
    EXPECT_EQ(events.fps, 3);
    EXPECT_DOUBLE_EQ(events.averageFrameTime, 1.0 / 3.0);

    // The 100 ms past the second are dropped: the next second starts at 0.
    fakeNow = 2000;
    events.update();
    EXPECT_EQ(events.fps, 3);
    fakeNow = 2100;
    events.update();
    EXPECT_EQ(events.fps, 2);
    EXPECT_DOUBLE_EQ(events.averageFrameTime, 0.5);
}

TEST_F(EventManagerTest, KeyHandlersSeeTheStateBeforeTheEvent) {
    std::vector<int> seen;
    auto note = [&] { seen.push_back(events.eventKey < 512 ? events.keyPressed[events.eventKey] : -1); };
    events.addHandler(EventType::KeyDown, note);
    events.addHandler(EventType::KeyUp, note);
    pushKey(SDL_KEYDOWN, SDLK_w);
    events.update();
    EXPECT_TRUE(events.keyPressed[SDLK_w]);
    pushKey(SDL_KEYUP, SDLK_w);
    // Past the table: dispatched, not recorded.
    pushKey(SDL_KEYDOWN, 512);
    pushKey(SDL_KEYDOWN, 40000);
    events.update();
    EXPECT_EQ(seen, (std::vector<int>{0, 1, -1, -1}));
    EXPECT_EQ(events.eventKey, 40000);
    for (bool pressed : events.keyPressed) EXPECT_FALSE(pressed);
}

TEST_F(EventManagerTest, JoystickButtonsAreOneBasedAndBounded) {
    int dispatched = 0;
    events.addHandler(EventType::JoystickButtonDown, [&] { ++dispatched; });
    pushJoyButton(SDL_JOYBUTTONDOWN, 0);
    events.update();
    EXPECT_EQ(events.eventJoyButton, 1);
    EXPECT_TRUE(events.joyButtonPressed[1]);
    EXPECT_FALSE(events.joyButtonPressed[0]);

    pushJoyButton(SDL_JOYBUTTONDOWN, 255);
    pushJoyButton(SDL_JOYBUTTONUP, 0);
    events.update();
    EXPECT_EQ(dispatched, 2);
    EXPECT_FALSE(events.joyButtonPressed[1]);
    for (bool pressed : events.joyButtonPressed) EXPECT_FALSE(pressed);

    SDL_Event axis{};
    axis.type = SDL_JOYAXISMOTION;
    axis.jaxis.axis = 255;
    axis.jaxis.value = -32768;
    push(axis);
    events.update();
    EXPECT_EQ(events.eventJoyAxis, 255);
    EXPECT_EQ(events.joyAxis[255], -32768);
}

TEST_F(EventManagerTest, FailingHandlerLeavesTheRestQueued) {
    events.addHandler(EventType::KeyDown, [this] {
        log.push_back(std::to_string(events.eventKey));
        if (events.eventKey == SDLK_a) throw std::runtime_error("handler failed");
    });
    pushKey(SDL_KEYDOWN, SDLK_a);
    pushKey(SDL_KEYDOWN, SDLK_b);
    EXPECT_THROW(events.update(), std::runtime_error);
    EXPECT_EQ(log, (std::vector<std::string>{std::to_string(SDLK_a)}));
    events.update();
    EXPECT_EQ(log.back(), std::to_string(SDLK_b));
}

// Two pretend devices: the first opens, the second has no name and fails.
int fakeHandle;
std::vector<SDL_Joystick*> closed;
Uint32 joystickInit(Uint32) { return SDL_INIT_JOYSTICK; }
int twoJoysticks() { return 2; }
const char* joystickName(int index) { return index == 0 ? "Pad A" : nullptr; }
SDL_Joystick* openJoystick(int index) { return index == 0 ? reinterpret_cast<SDL_Joystick*>(&fakeHandle) : nullptr; }
void closeJoystick(SDL_Joystick* handle) { closed.push_back(handle); }

TEST_F(EventManagerTest, JoystickReportAndClose) {
    sdl.SDL_WasInit = &joystickInit;
    sdl.SDL_NumJoysticks = &twoJoysticks;
    sdl.SDL_JoystickName = &joystickName;
    sdl.SDL_JoystickOpen = &openJoystick;
    sdl.SDL_JoystickClose = &closeJoystick;

    ::testing::internal::CaptureStdout();
    EventManager withPads(810, 450);
    std::fflush(stdout);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "Number of joysticks: 2\nJoystick 0: Pad A\nJoystick 1: \nFailed to open joystick 1\n");
    ASSERT_EQ(withPads.joysticks.size(), 1u);
    EXPECT_EQ(withPads.joysticks.at(0).name, "Pad A");
    EXPECT_EQ(withPads.joysticks.at(0).id, 0);

    withPads.closeJoysticks();
    withPads.closeJoysticks();
    EXPECT_EQ(closed, (std::vector<SDL_Joystick*>{reinterpret_cast<SDL_Joystick*>(&fakeHandle)}));
}

} // namespace
} // namespace tandrel
