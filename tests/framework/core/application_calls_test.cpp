// The application's constructor and frame through the recording table: the
// exact SDL and OpenGL calls, in order, with no window and no driver.

// gtest first: the GLX header brings in Xlib, whose macros clash with it.
#include <gtest/gtest.h>

#include "framework/core/application.hpp"

#include "binding/libraries.hpp"
#include "fixtures/fakeglx.hpp"
#include "fixtures/recorder.hpp"

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace tandrel {
namespace {

using test::Call;
using test::calls;

int surfaceTag = 0;
SDL_Surface* fakeSetVideoMode(int width, int height, int bpp, Uint32 flags) {
    // The two variables are read by SDL when the window opens: they must be set by then.
    const char* pos = std::getenv("SDL_VIDEO_WINDOW_POS");
    const char* centred = std::getenv("SDL_VIDEO_CENTERED");
    calls().push_back(Call{"SDL_SetVideoMode", {double(width), double(height), double(bpp), double(flags)}});
    calls().push_back(
        Call{std::string("env ") + (pos ? "[" + std::string(pos) + "]" : "unset") + " " + (centred ? centred : "unset"),
             {}});
    return reinterpret_cast<SDL_Surface*>(&surfaceTag);
}

// The log with each run of procedure lookups folded into one.
std::vector<Call> foldedLog() {
    std::vector<Call> folded;
    for (const auto& c : calls())
        if (folded.empty() || folded.back().name != c.name || c.name != "glXGetProcAddressARB") folded.push_back(c);
    return folded;
}

struct ApplicationCalls : testing::Test {
    void SetUp() override {
        loadMediaLibraries(); // loaded once: the constructor's load finds them bound
        test::installRecorder();
        test::recordSDL();
        sdl.SDL_SetVideoMode = &fakeSetVideoMode;
        fake.emplace();
        test::FakeWindowSystem::extensions = "GL_ARB_multitexture";
        unsetenv("SDL_VIDEO_WINDOW_POS");
        unsetenv("SDL_VIDEO_CENTERED");
    }
    void TearDown() override {
        fake.reset();
        test::restoreTables();
    }
    std::optional<test::FakeWindowSystem> fake;
};

TEST_F(ApplicationCalls, ConstructorAndFrameCallInTheirOrder) {
    Application app(810, 450, "Recorded", 12);
    const std::vector<Call> constructed = {
        {"SDL_Init", {0x220}},
        {"SDL_GL_SetAttribute", {SDL_GL_DOUBLEBUFFER, 1}},
        {"SDL_GL_SetAttribute", {SDL_GL_RED_SIZE, 5}},
        {"SDL_GL_SetAttribute", {SDL_GL_BLUE_SIZE, 5}},
        {"SDL_GL_SetAttribute", {SDL_GL_GREEN_SIZE, 5}},
        {"SDL_GL_SetAttribute", {SDL_GL_BUFFER_SIZE, 32}},
        {"SDL_GL_SetAttribute", {SDL_GL_DEPTH_SIZE, 16}},
        {"SDL_SetVideoMode", {810, 450, 0, 0x12}},
        {"env [] 1", {}},
        {"SDL_WM_SetCaption", {}},
        {"SDL_ShowCursor", {SDL_ENABLE}},
        {"glGetString", {GL_VERSION}}, // the version check, then 1.2 to 2.1
        {"glXGetProcAddressARB", {}},
        {"glGetString", {GL_EXTENSIONS}}, // then the extensions
        {"glXGetProcAddressARB", {}},
        {"glBlendFunc", {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA}},
        {"glEnable", {GL_BLEND}},
        {"glEnable", {GL_NORMALIZE}},
        {"glShadeModel", {GL_SMOOTH}},
        {"glAlphaFunc", {GL_GREATER, 0}},
        {"glEnable", {GL_ALPHA_TEST}},
        {"glEnable", {GL_DEPTH_TEST}},
        {"glDepthFunc", {GL_LESS}},
        {"glEnable", {GL_CULL_FACE}},
        {"SDL_WasInit", {SDL_INIT_JOYSTICK}}, // the event manager looks for joysticks
    };
    auto log = foldedLog();
    ASSERT_EQ(log.size(), constructed.size()) << testing::PrintToString(test::callNames());
    for (std::size_t i = 0; i < log.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(log[i].name, constructed[i].name);
        if (log[i].name != "SDL_WM_SetCaption") { // whose arguments are pointers
            EXPECT_EQ(log[i].args, constructed[i].args);
        }
    }

    calls().clear();
    app.clearColor = Color4f(0.25f, 0.5f, 0.75f, 1);
    app.drawFrame();
    EXPECT_EQ(calls(), (std::vector<Call>{{"glClearColor", {0.25, 0.5, 0.75, 1}},
                                          {"glClear", {0x4100}},
                                          {"glLoadIdentity", {}},
                                          {"glColor4f", {1, 1, 1, 1}},
                                          {"SDL_GL_SwapBuffers", {}},
                                          {"SDL_Delay", {1}}}));
}

} // namespace
} // namespace tandrel
