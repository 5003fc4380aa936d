// The free-view layer and its camera: the matrix the camera loads, what the
// mouse does to it, and the cursor in a real window.

// gtest first: the SDL table header brings in Xlib, whose macros clash with it.
#include <gtest/gtest.h>

#include "binding/sdl/sdl.hpp"
#include "fixtures/display.hpp"
#include "fixtures/recorder.hpp"
#include "framework/core/event.hpp"
#include "framework/ui/freeview.hpp"

namespace tandrel {
namespace {

std::vector<float> loaded;
void captureMatrix(const GLfloat* m) { loaded.assign(m, m + 16); }

class FreeviewCalls : public ::testing::Test {
protected:
    void SetUp() override {
        gl.glLoadMatrixf = &captureMatrix;
        vandorSDL().load(); // the event manager asks SDL for joysticks
        saved = sdl;
        sdl.SDL_WarpMouse = [](Uint16, Uint16) {};
        sdl.SDL_ShowCursor = [](int toggle) { return toggle; };
    }
    void TearDown() override { sdl = saved; }
    test::RecordingTable table;
    SDLTable saved;
};

TEST_F(FreeviewCalls, CameraOrbitsItsCentreAtItsDistance) {
    FreeviewLayer layer(640, 480);
    ASSERT_EQ(layer.modifiers.front(), &layer.camera);
    layer.camera.pitchAngle = 90;
    layer.camera.center = {1, 2, 3};
    layer.camera.bind(0);
    // Pitched a quarter turn, y goes to z and z to -y; the centre's offset is
    // rotated too, and the whole pushed back by the distance of 10.
    const float expected[16] = {1, 0, 0, 0, 0, 0, 1, 0, 0, -1, 0, 0, 1, -3, -8, 1};
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(loaded.at(std::size_t(i)), expected[i], 1e-5) << i;
}

TEST_F(FreeviewCalls, WheelEasesTheZoomAndRightDragsTurn) {
    EventManager events(800, 600);
    for (auto [button, change] : {std::pair{SDL_BUTTON_WHEELUP, -1.875f}, {SDL_BUTTON_WHEELDOWN, 1.875f}}) {
        FreeviewLayer layer(640, 480);
        events.eventButton = button;
        layer.onMouseButtonDown(events);
        for (int frame = 0; frame < 60; ++frame) layer.camera.bind(0);
        EXPECT_NEAR(layer.camera.distance, 10 + change, 0.05f) << "button " << button;
    }
    // 80 right of and 40 below the window's centre.
    FreeviewLayer layer(640, 480);
    events.mouseX = 480;
    events.mouseY = 340;
    events.rmbPressed = true;
    layer.update(events);
    EXPECT_FLOAT_EQ(layer.camera.turnAngle, -80.0f / 8 / 16);
    EXPECT_FLOAT_EQ(layer.camera.pitchAngle, 40.0f / 8 / 16);
}

TEST(FreeviewOnDisplay, CursorHidesWhileTheRightButtonIsHeld) {
    ASSERT_NO_FATAL_FAILURE(test::requireDisplay());
    ASSERT_NO_FATAL_FAILURE(test::openTestWindow(320, 200));
    EventManager events(320, 200);
    FreeviewLayer layer(320, 200);
    for (auto [type, shown] : {std::pair{SDL_MOUSEBUTTONDOWN, SDL_DISABLE}, {SDL_MOUSEBUTTONUP, SDL_ENABLE}}) {
        SDL_Event e{};
        e.type = type;
        e.button.button = SDL_BUTTON_RIGHT;
        ASSERT_EQ(sdl.SDL_PushEvent(&e), 0);
        events.update();
        layer.update(events);
        EXPECT_EQ(sdl.SDL_ShowCursor(SDL_QUERY), shown);
    }
    sdl.SDL_Quit();
}

} // namespace
} // namespace tandrel
