// The free-view layer and its camera: the matrix the camera loads, the
// mouse's effect on it, and the cursor in a real window.

// gtest first: the SDL table header brings in Xlib, whose macros clash with it.
#include <gtest/gtest.h>

#include "binding/sdl/sdl.hpp"
#include "framework/core/event.hpp"
#include "framework/ui/freeview.hpp"
#include "support/display.hpp"
#include "support/recorder.hpp"

#include <array>
#include <vector>

namespace tandrel {
namespace {

std::array<float, 16> loaded{};
void captureMatrix(const GLfloat* m) { std::copy(m, m + 16, loaded.begin()); }
std::vector<std::array<int, 2>> warps;
std::vector<int> cursor;
void fakeWarp(Uint16 x, Uint16 y) { warps.push_back({x, y}); }
int fakeShowCursor(int toggle) {
    cursor.push_back(toggle);
    return toggle;
}

class FreeviewCalls : public ::testing::Test {
protected:
    void SetUp() override {
        gl.glLoadMatrixf = &captureMatrix;
        vandorSDL().load();  // the event manager asks SDL for joysticks
        saved = sdl;
        sdl.SDL_WarpMouse = &fakeWarp;
        sdl.SDL_ShowCursor = &fakeShowCursor;
        warps.clear();
        cursor.clear();
    }
    void TearDown() override { sdl = saved; }
    test::RecordingTable table;
    SDLTable saved;
    FreeviewLayer layer{640, 480};
};

TEST_F(FreeviewCalls, CameraLoadsTheOrbitAboutItsCentre) {
    TrackballCamera& camera = layer.camera;
    EXPECT_EQ(layer.modifiers.front(), &camera);
    EXPECT_EQ(layer.type, LayerType::Layer3D);
    camera.pitchAngle = 90;
    camera.center = {1, 2, 3};
    camera.bind(0);
    camera.unbind();
    EXPECT_EQ(test::callNames(), (std::vector<std::string>{"glPushMatrix", "glPopMatrix"}));
    // Pitched up a quarter turn, y goes to z and z to -y; the centre moves by
    // the rotated (1, 2, 3), then the whole back by the distance of 10.
    const float expected[16] = {1, 0, 0, 0, 0, 0, 1, 0, 0, -1, 0, 0, 1, -3, -8, 1};
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(loaded[i], expected[i], 1e-5) << "flat index " << i;
}

TEST_F(FreeviewCalls, WheelNotchesEaseTheDistanceInAndOut) {
    EventManager events(800, 600);
    for (auto [button, closer] : {std::pair{SDL_BUTTON_WHEELUP, true}, {SDL_BUTTON_WHEELDOWN, false}}) {
        FreeviewLayer view(640, 480);
        events.eventButton = button;
        view.onMouseButtonDown(events);
        view.camera.bind(0);
        const float afterOne = view.camera.distance;
        for (int frame = 1; frame < 60; ++frame) view.camera.bind(0);
        const float moved = 10 - view.camera.distance;
        // Eased: a first small step, most of two units after a second.
        EXPECT_NEAR(std::abs(10 - afterOne), 2.0f * 15 / 256, 1e-4);
        EXPECT_NEAR(moved, closer ? 1.875f : -1.875f, 0.05f) << "button " << button;
    }
}

TEST_F(FreeviewCalls, DragsTurnOrPanAndHoldTheCursorAtTheCentre) {
    EventManager events(800, 600);
    // The window's centre is (400, 300); the cursor sits 80 right and 40 down.
    events.mouseX = 480;
    events.mouseY = 340;
    events.rmbPressed = true;
    layer.update(events);
    EXPECT_FLOAT_EQ(layer.camera.turnAngle, -80.0f / 8 / 16);
    EXPECT_FLOAT_EQ(layer.camera.pitchAngle, 40.0f / 8 / 16);

    events.rmbPressed = false;
    events.lmbPressed = true;
    layer.update(events);  // left drag without Shift does nothing
    events.keyPressed[SDLK_LSHIFT] = true;
    layer.update(events);
    // Back 2.5 / 16 along the turn plus 90 degrees, right 5 / 16 along the
    // turn of -0.625 degrees, on the ground plane.
    EXPECT_NEAR(layer.camera.center.x, 0.31078f, 1e-5);
    EXPECT_EQ(layer.camera.center.y, 0.0f);
    EXPECT_NEAR(layer.camera.center.z, -0.15965f, 1e-5);

    events.eventButton = SDL_BUTTON_MIDDLE;
    layer.onMouseButtonDown(events);
    EXPECT_EQ(layer.prevMouseX, 480);
    EXPECT_EQ(layer.prevMouseY, 340);
    EXPECT_EQ(warps, (std::vector<std::array<int, 2>>{{400, 300}, {400, 300}, {320, 240}}));
    EXPECT_EQ(cursor, (std::vector<int>{SDL_DISABLE, SDL_ENABLE, SDL_DISABLE}));
}

TEST(FreeviewOnDisplay, CursorHidesWhileTheRightButtonIsHeld) {
    ASSERT_NO_FATAL_FAILURE(test::requireDisplay());
    ASSERT_NO_FATAL_FAILURE(test::openTestWindow(320, 200));
    EventManager events(320, 200);
    FreeviewLayer layer(320, 200);
    const auto pushButton = [](Uint8 type) {
        SDL_Event e{};
        e.type = type;
        e.button.button = SDL_BUTTON_RIGHT;
        ASSERT_EQ(sdl.SDL_PushEvent(&e), 0);
    };
    pushButton(SDL_MOUSEBUTTONDOWN);
    events.update();
    layer.update(events);
    EXPECT_EQ(sdl.SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    pushButton(SDL_MOUSEBUTTONUP);
    events.update();
    layer.update(events);
    EXPECT_EQ(sdl.SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
    sdl.SDL_Quit();
}

} // namespace
} // namespace tandrel
