// The free-view layer and its camera: the matrix the camera loads, what the
// mouse does to it, and the cursor in a real window.

// gtest first: the SDL table header brings in Xlib, whose macros clash with it.
#include <gtest/gtest.h>

#include "binding/sdl/sdl.hpp"
#include "fixtures/display.hpp"
#include "fixtures/recorder.hpp"
#include "framework/core/event.hpp"
#include "framework/ui/freeview.hpp"

#include <array>
#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

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

// A right-handed rotation about one axis (0 x, 1 y, 2 z), row-major.
using Rotation = std::array<std::array<double, 3>, 3>;
Rotation about(int axis, double degrees) {
    const double c = std::cos(degrees / 180 * std::numbers::pi), s = std::sin(degrees / 180 * std::numbers::pi);
    const int i = (axis + 1) % 3, j = (axis + 2) % 3;
    Rotation r{};
    r[std::size_t(axis)][std::size_t(axis)] = 1;
    r[std::size_t(i)][std::size_t(i)] = r[std::size_t(j)][std::size_t(j)] = c;
    r[std::size_t(j)][std::size_t(i)] = s;
    r[std::size_t(i)][std::size_t(j)] = -s;
    return r;
}
Rotation operator*(const Rotation& a, const Rotation& b) {
    Rotation p{};
    for (std::size_t r = 0; r < 3; ++r)
        for (std::size_t c = 0; c < 3; ++c)
            for (std::size_t k = 0; k < 3; ++k) p[r][c] += a[r][k] * b[k][c];
    return p;
}

TEST_F(FreeviewCalls, CameraTurnsByPitchThenTurnThenRoll) {
    FreeviewLayer layer(640, 480);
    layer.camera.pitchAngle = 20;
    layer.camera.turnAngle = -35;
    layer.camera.rollAngle = 50;
    layer.camera.center = {1, 2, 3};
    layer.camera.bind(0);
    const Rotation r = about(0, 20) * about(1, -35) * about(2, 50);
    const double center[3] = {1, 2, 3};
    for (std::size_t row = 0; row < 3; ++row) {
        for (std::size_t column = 0; column < 3; ++column)
            EXPECT_NEAR(loaded.at(column * 4 + row), r[row][column], 1e-5) << row << ", " << column;
        const double moved = r[row][0] * center[0] + r[row][1] * center[1] + r[row][2] * center[2];
        EXPECT_NEAR(loaded.at(12 + row), moved - (row == 2 ? 10 : 0), 1e-5) << "translation " << row;
    }
}

std::vector<std::pair<int, int>> warps;

TEST_F(FreeviewCalls, MiddleAndShiftLeftDragsPanAlongTheCamerasGround) {
    sdl.SDL_WarpMouse = [](Uint16 x, Uint16 y) { warps.emplace_back(x, y); };
    struct Drag {
        const char* name;
        Uint8 button;
        bool middle, left, shift;
    };
    for (const Drag drag : {Drag{"middle", SDL_BUTTON_MIDDLE, true, false, false},
                            Drag{"shift + left", SDL_BUTTON_LEFT, false, true, true}}) {
        SCOPED_TRACE(drag.name);
        EventManager events(800, 600);
        FreeviewLayer layer(640, 480);
        layer.camera.turnAngle = 30;
        warps.clear();
        events.eventButton = drag.button;
        layer.onMouseButtonDown(events);
        // 80 right of and 40 below the window's centre.
        events.mouseX = 480;
        events.mouseY = 340;
        events.mmbPressed = drag.middle;
        events.lmbPressed = drag.left;
        events.keyPressed[SDLK_LSHIFT] = drag.shift;
        layer.update(events);
        // Eased over 16 frames: right by 80 / 16 / 16, forward by -40 / 16 / 16.
        const double t = 30.0 / 180 * std::numbers::pi, right = 80.0 / 256, forward = -40.0 / 256;
        EXPECT_NEAR(layer.camera.center.x, right * std::cos(t) - forward * std::sin(t), 1e-6);
        EXPECT_FLOAT_EQ(layer.camera.center.y, 0);
        EXPECT_NEAR(layer.camera.center.z, right * std::sin(t) + forward * std::cos(t), 1e-6);
        // The press puts the cursor at the layer's centre, each drag frame at the window's.
        auto expected = std::vector<std::pair<int, int>>{{400, 300}};
        if (drag.middle) expected.insert(expected.begin(), {320, 240});
        EXPECT_EQ(warps, expected);
    }
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
