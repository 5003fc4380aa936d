// The application in a real window under the private X server: frames are
// read back from the back buffer by a drawable, before the buffers swap.

// gtest first: the SDL table header brings in Xlib, whose macros clash with it.
#include <gtest/gtest.h>

#include "framework/core/application.hpp"

#include "binding/opengl/gl.hpp"
#include "binding/sdl/sdl.hpp"
#include "binding/util/exception.hpp"
#include "fixtures/display.hpp"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tandrel {
namespace {

// Counts frames and runs a test's script in each; never runs away.
class TestApp : public Application {
public:
    explicit TestApp(WindowOptions options = {}) : Application(810, 450, "Tandrel test", 12, options) {}
    void onUpdate() override {
        ++frames;
        if (script) script(frames);
        if (frames >= 50) exit();
    }
    std::function<void(int frame)> script;
    int frames = 0;
};

struct Rect : Drawable {
    Rect(float x0, float y0, float x1, float y1, std::uint32_t rgb) : x0(x0), y0(y0), x1(x1), y1(y1), rgb(rgb) {}
    void draw(double) override {
        const Color4f c(rgb);
        gl.glColor3f(c.r(), c.g(), c.b());
        gl.glBegin(GL_QUADS);
        gl.glVertex2f(x0, y0);
        gl.glVertex2f(x1, y0);
        gl.glVertex2f(x1, y1);
        gl.glVertex2f(x0, y1);
        gl.glEnd();
    }
    void free() override {}
    float x0, y0, x1, y1;
    std::uint32_t rgb;
};

// Checks pixels of the frame being drawn.
struct PixelProbe : Drawable {
    struct Expect {
        int x, y;
        std::uint32_t rgb;
    };
    void draw(double) override {
        if (!armed) return;
        near.clear();
        for (const auto& e : expected) near.push_back(test::pixelNear(e.x, e.y, e.rgb));
    }
    void free() override {}
    bool armed = true;
    std::vector<Expect> expected;
    std::vector<bool> near;
};

struct Journal : Drawable {
    Journal(std::vector<std::string>& log, std::string name) : log(log), name(std::move(name)) {}
    void draw(double) override { log.push_back(name); }
    void free() override {}
    std::vector<std::string>& log;
    std::string name;
};

void pushEvent(SDL_Event event) { ASSERT_EQ(sdl.SDL_PushEvent(&event), 0); }
void pushKey(Uint8 type, SDLKey key) {
    SDL_Event e{};
    e.type = type;
    e.key.keysym.sym = key;
    pushEvent(e);
}

class ApplicationTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::requireDisplay();
        saved = sdl;
        savedGL = gl;
    }
    // Tests that never run the loop still shut SDL down, as run() would.
    void TearDown() override {
        sdl = saved;
        gl = savedGL;
        sdl.SDL_Quit();
    }
    SDLTable saved;
    GLTable savedGL;
};

TEST_F(ApplicationTest, ClearsToTheClearColour) {
    TestApp app;
    app.clearColor = Color4f(0x336699);
    PixelProbe probe;
    probe.expected = {{0, 0, 0x336699}, {809, 449, 0x336699}, {400, 200, 0x336699}};
    app.addLayer2D(0).addDrawable(probe);
    app.drawFrame();
    EXPECT_EQ(probe.near, (std::vector<bool>{true, true, true}));
}

TEST_F(ApplicationTest, Layer2DPutsTheOriginBottomLeftAndOnePixelPerUnit) {
    TestApp app;
    Rect low(0, 0, 1, 1, 0xFF0000), high(809, 449, 810, 450, 0x00FF00);
    PixelProbe probe;
    probe.expected = {{0, 0, 0xFF0000}, {809, 449, 0x00FF00}, {1, 1, 0x000000}, {808, 448, 0x000000}};
    Layer& layer = app.addLayer2D(0);
    layer.addDrawable(low);
    layer.addDrawable(high);
    layer.addDrawable(probe);
    app.drawFrame();
    EXPECT_EQ(probe.near, (std::vector<bool>{true, true, true, true}));
}

TEST_F(ApplicationTest, DeeperLayersDrawFirst) {
    TestApp app;
    std::vector<std::string> log;
    Journal first(log, "first 5"), shallow(log, "0"), second(log, "second 5"), own(log, "own 3");
    app.addLayer2D(5).addDrawable(first);
    app.addLayer3D(0).addDrawable(shallow);
    app.addLayer2D(5).addDrawable(second);
    auto made = std::make_unique<Layer>(1, 2, 100, 50, LayerType::Layer2D, 3);
    Layer* raw = made.get();
    EXPECT_EQ(&app.addLayer(std::move(made)), raw);
    raw->addDrawable(own);

    app.drawFrame();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[2], "own 3");
    EXPECT_EQ(log[3], "0");
    EXPECT_EQ(app.layers[3]->type, LayerType::Layer3D);
    EXPECT_TRUE(app.layers[3]->autoResize);
    EXPECT_FALSE(raw->autoResize);
}

// Records the keys forwarded to it.
struct KeyLayer : Layer {
    KeyLayer() : Layer(0, 0, 10, 10, LayerType::Layer2D, 0) {}
    void onKeyDown(EventManager& events) override { downs.push_back(events.eventKey); }
    void onKeyUp(EventManager& events) override { ups.push_back(events.eventKey); }
    std::vector<int> downs, ups;
};

TEST_F(ApplicationTest, OtherKeysAreForwardedAndEscapePressEndsTheLoop) {
    TestApp app;
    auto& keys = static_cast<KeyLayer&>(app.addLayer(std::make_unique<KeyLayer>()));
    app.script = [](int frame) {
        if (frame == 1) pushKey(SDL_KEYDOWN, SDLK_a);
        if (frame == 3) pushKey(SDL_KEYDOWN, SDLK_ESCAPE);
    };
    app.run();
    // The pass that handled Escape still draws its frame.
    EXPECT_EQ(app.frames, 4);
    EXPECT_EQ(keys.downs, (std::vector<int>{SDLK_a, SDLK_ESCAPE}));
}

// A release of Escape alone (pressed before the window had focus) and a close
// request both end the loop; the close goes through the most derived exit.
TEST_F(ApplicationTest, EscapeReleaseAndQuitEndTheLoop) {
    struct CountingExit : TestApp {
        void exit() override {
            ++exits;
            TestApp::exit();
        }
        int exits = 0;
    };
    for (Uint8 type : {Uint8(SDL_KEYUP), Uint8(SDL_QUIT)}) {
        SCOPED_TRACE(int(type));
        CountingExit app;
        auto& keys = static_cast<KeyLayer&>(app.addLayer(std::make_unique<KeyLayer>()));
        app.script = [type](int frame) {
            if (frame == 1) pushKey(type, SDLK_ESCAPE);
        };
        app.run();
        EXPECT_EQ(app.frames, 2);
        EXPECT_EQ(app.exits, type == SDL_QUIT ? 1 : 0);
        EXPECT_EQ(keys.ups.size(), type == SDL_KEYUP ? 1u : 0u);
    }
}

TEST_F(ApplicationTest, ResizeFollowsTheNewWindowSize) {
    TestApp app;
    Layer& flat = app.addLayer2D(0);
    flat.x = 3;
    flat.y = 4;
    Layer& deep = app.addLayer3D(1);
    Layer& fixed = app.addLayer(std::make_unique<Layer>(0, 0, 100, 50, LayerType::Layer2D, 2));
    Rect cover(0, 0, 5000, 5000, 0xFF0000);
    PixelProbe probe;
    probe.armed = false;
    probe.expected = {{995, 595, 0xFF0000}, {2, 2, 0xFF0000}};
    flat.addDrawable(cover);
    flat.addDrawable(probe);
    app.script = [&](int frame) {
        if (frame == 1) {
            SDL_Event resize{};
            resize.type = SDL_VIDEORESIZE;
            resize.resize.w = 1000;
            resize.resize.h = 600;
            pushEvent(resize);
        }
        probe.armed = frame == 2;
        if (frame == 2) app.exit();
    };
    app.run();

    EXPECT_EQ(app.eventManager->windowWidth, 1000);
    for (Layer* layer : {&flat, &deep}) {
        EXPECT_EQ(layer->width, 1000u);
        EXPECT_EQ(layer->height, 600u);
        EXPECT_FLOAT_EQ(layer->aspectRatio, 1000.0f / 600.0f);
    }
    EXPECT_EQ(flat.x, 3);
    EXPECT_EQ(flat.y, 4);
    EXPECT_EQ(fixed.width, 100u);
    EXPECT_EQ(fixed.height, 50u);
    EXPECT_EQ(app.width, 810u);
    // The far corner of the larger window is drawn, not left at the clear colour.
    EXPECT_EQ(probe.near, (std::vector<bool>{true, true}));
}

TEST_F(ApplicationTest, FirstFrameDeltaIsTheTimeSinceSdlStarted) {
    TestApp app;
    const Uint32 built = sdl.SDL_GetTicks();
    struct Stopwatch : Drawable {
        void draw(double dt) override { seen.push_back(dt); }
        void free() override {}
        std::vector<double> seen;
    } stopwatch;
    app.addLayer2D(0).addDrawable(stopwatch);
    Uint32 atFirstFrame = 0;
    app.script = [&](int frame) {
        atFirstFrame = sdl.SDL_GetTicks();
        if (frame == 1) app.exit();
    };
    app.run();
    ASSERT_EQ(stopwatch.seen.size(), 1u);
    EXPECT_DOUBLE_EQ(stopwatch.seen[0], app.eventManager->deltaTimeMs * 0.001);
    EXPECT_GE(app.eventManager->deltaTimeMs, built);
    EXPECT_LE(app.eventManager->deltaTimeMs, atFirstFrame);
}

TEST_F(ApplicationTest, ConstructorLoadsTheExtensionsTheDriverLists) {
    TestApp app;
    auto& loader = vandorGL();
    EXPECT_EQ(loader.extensionState("GL_ARB_multitexture"), GLExtensionState::ExtLoaded);
    EXPECT_NE(gl.glActiveTextureARB, nullptr);
    EXPECT_NE(gl.glMultiTexCoord4svARB, nullptr);
    EXPECT_TRUE(loader.isExtensionLoaded("GLX_ARB_create_context")); // listed by GLX alone
    EXPECT_EQ(loader.loadedVersion(), 21);

    EXPECT_EQ(gl.glGenVertexArrays, nullptr); // 3.0 is left to the program
    loader.loadModernVersions(30);
    EXPECT_NE(gl.glGenVertexArrays, nullptr);
    EXPECT_NE(gl.glBlendFunci, nullptr); // 4.0
    EXPECT_EQ(loader.loadedVersion(), 40);
}

const GLubyte* oldVersion(GLenum) { return reinterpret_cast<const GLubyte*>("1.1 Mesa"); }
// The fakes set their own reason: SDL's text after a failure differs between
// SDL 1.2 and sdl12-compat, and shutting SDL down may change it.
SDL_Surface* noVideoMode(int, int, int, Uint32) {
    sdl.SDL_SetError("no mode for you");
    return nullptr;
}
int noInit(Uint32) {
    sdl.SDL_SetError("no video device");
    return -1;
}

std::string constructionFailure(WindowOptions options = {}) {
    try {
        TestApp app(options);
    } catch (const VandorException& e) {
        return e.what();
    }
    return "no failure";
}

TEST_F(ApplicationTest, ConstructionFailuresCarryTheirMessages) {
    gl.glGetString = &oldVersion;
    EXPECT_EQ(constructionFailure(), "Required GL version OpenGL Version 1.2 is not available.");

    sdl.SDL_SetVideoMode = &noVideoMode;
    EXPECT_EQ(constructionFailure(), "Failed to set video mode: no mode for you");

    sdl.SDL_Init = &noInit;
    EXPECT_EQ(constructionFailure(), "Failed to init SDL: no video device");
}

const char* reportedDriver = "";
char* fakeDriverName(char* name, int length) {
    std::snprintf(name, std::size_t(length), "%s", reportedDriver);
    return name;
}
int windowsOpened = 0;
SDL_Surface* (*realSetVideoMode)(int, int, int, Uint32) = nullptr;
SDL_Surface* countedSetVideoMode(int w, int h, int bpp, Uint32 flags) {
    ++windowsOpened;
    return realSetVideoMode(w, h, bpp, flags);
}

TEST_F(ApplicationTest, ADriverThatShowsNothingIsRefusedUnlessAskedFor) {
    const std::string refused =
        "No display found: set DISPLAY or WAYLAND_DISPLAY, or name a video driver in "
        "SDL_VIDEODRIVER";
    struct Case {
        const char* driver;
        const char* asked; // SDL_VIDEODRIVER; null leaves it unset
        bool accepted;
    };
    // The real driver is x11 throughout; SDL_VIDEODRIVER=x11 stands for any
    // driver the user names.
    for (const Case& c : {Case{"offscreen", nullptr, false}, Case{"dummy", nullptr, false}, Case{"dummy", "x11", true},
                          Case{"x11", nullptr, true}}) {
        SCOPED_TRACE(std::string(c.driver) + " " + (c.asked ? c.asked : "unset"));
        if (c.asked)
            setenv("SDL_VIDEODRIVER", c.asked, 1);
        else
            unsetenv("SDL_VIDEODRIVER");
        reportedDriver = c.driver;
        sdl.SDL_VideoDriverName = &fakeDriverName;
        realSetVideoMode = saved.SDL_SetVideoMode;
        sdl.SDL_SetVideoMode = &countedSetVideoMode;
        windowsOpened = 0;
        EXPECT_EQ(constructionFailure({.requireDisplay = true}), c.accepted ? "no failure" : refused);
        EXPECT_EQ(windowsOpened, c.accepted ? 1 : 0);
    }
    unsetenv("SDL_VIDEODRIVER");
    reportedDriver = "dummy";
    EXPECT_EQ(constructionFailure(), "no failure") << "only a program that asks refuses";
}

TEST_F(ApplicationTest, F11AndAltEnterSwitchToFullScreenAndBack) {
    TestApp app({.fullscreenKeys = true});
    Layer& flat = app.addLayer2D(0);
    std::vector<std::int32_t> widths;
    app.script = [&](int frame) {
        widths.push_back(app.eventManager->windowWidth);
        if (frame == 1) pushKey(SDL_KEYDOWN, SDLK_F11);
        if (frame == 2) {
            EXPECT_TRUE(app.fullscreen);
            EXPECT_GT(app.eventManager->windowHeight, 450);
            EXPECT_EQ(flat.width, std::uint32_t(app.eventManager->windowWidth));
            pushKey(SDL_KEYDOWN, SDLK_LALT);
            pushKey(SDL_KEYDOWN, SDLK_RETURN);
        }
        if (frame == 3) app.exit();
    };
    app.run();
    ASSERT_EQ(widths.size(), 3u);
    EXPECT_GT(widths[1], 810);
    EXPECT_EQ(widths[2], 810);
    EXPECT_FALSE(app.fullscreen);
    EXPECT_EQ(app.eventManager->windowHeight, 450);
    EXPECT_EQ(flat.height, 450u);
}

SDL_Surface* windowOnly(int w, int h, int bpp, Uint32 flags) {
    if (flags & SDL_FULLSCREEN) return noVideoMode(w, h, bpp, flags);
    return realSetVideoMode(w, h, bpp, flags);
}

TEST_F(ApplicationTest, AFullScreenSwitchSdlRefusesLeavesTheWindowAsItWas) {
    TestApp app({.fullscreenKeys = true});
    realSetVideoMode = saved.SDL_SetVideoMode;
    sdl.SDL_SetVideoMode = &windowOnly;
    app.script = [&](int frame) {
        if (frame == 1) pushKey(SDL_KEYDOWN, SDLK_F11);
        if (frame == 2) app.exit();
    };
    EXPECT_NO_THROW(app.run());
    EXPECT_EQ(app.frames, 2);
    EXPECT_FALSE(app.fullscreen);
    EXPECT_EQ(app.eventManager->windowWidth, 810);
    EXPECT_EQ(app.eventManager->windowHeight, 450);
}

TEST_F(ApplicationTest, FailedResizeEndsRunWithItsError) {
    TestApp app;
    app.script = [](int frame) {
        if (frame != 1) return;
        SDL_Event resize{};
        resize.type = SDL_VIDEORESIZE;
        resize.resize.w = 900;
        resize.resize.h = 500;
        pushEvent(resize);
        sdl.SDL_SetVideoMode = &noVideoMode;
    };
    try {
        app.run();
        FAIL() << "run returned";
    } catch (const VandorException& e) {
        EXPECT_EQ(std::string(e.what()), "failed to set video mode: no mode for you");
    }
    EXPECT_EQ(app.frames, 1);
}

} // namespace
} // namespace tandrel
