#include "framework/core/application.hpp"

#include "binding/libraries.hpp"
#include "binding/opengl/gl.hpp"
#include "binding/sdl/sdl.hpp"
#include "binding/util/exception.hpp"
#include "framework/core/display.hpp"
#include "framework/core/environment.hpp"
#include "framework/core/heap.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace tandrel {

namespace {
constexpr Uint32 videoFlags = SDL_OPENGL | SDL_RESIZABLE;
constexpr Uint32 fullscreenFlags = SDL_OPENGL | SDL_FULLSCREEN;
constexpr int escapeKey = SDLK_ESCAPE;
// The same on Debian 12 and 13, before SDL starts or once it settled on a
// driver that shows nothing: scripts and tests match it exactly.
constexpr const char* noDisplay =
    "No display found: set DISPLAY or WAYLAND_DISPLAY, or name a video driver in SDL_VIDEODRIVER";

bool showsNothing(const char* driver) {
    return std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0;
}

std::string sdlError() { return sdl.SDL_GetError(); }

// Whether SDL's tick count `now` has reached `at`; signed, so that a wrap of
// the 32-bit count still compares right.
bool reached(std::uint32_t at, std::uint32_t now) { return static_cast<std::int32_t>(now - at) >= 0; }
} // namespace

Application::Application(std::uint32_t width, std::uint32_t height, const std::string& caption, int minGLVersion,
                         WindowOptions options)
    : width(width), height(height), options(options) {
    if (options.requireDisplay && !displayNamed()) throw VandorException(noDisplay);
    if (options.framesOnDemand) keepFreedMemory();
    loadMediaLibraries();

    if (sdl.SDL_Init(SDL_INIT_VIDEO | SDL_INIT_JOYSTICK) < 0)
        throw VandorException("Failed to init SDL: " + sdlError());
    pinLoadedLibraries();
    try {
        if (options.requireDisplay) refuseInvisibleDriver();
        openWindow(caption, minGLVersion);
        addEventHandlers();
    } catch (...) {
        // SDL hands back what its drivers took: without a display SDL 1.2
        // tries a text-mode driver, which leaves the terminal on its
        // alternate screen with the cursor hidden unless SDL is shut down.
        sdl.SDL_Quit();
        throw;
    }
}

void Application::refuseInvisibleDriver() {
    char driver[32] = {};
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    if (sdl.SDL_VideoDriverName(driver, sizeof driver) && showsNothing(driver) && !(asked && *asked))
        throw VandorException(noDisplay);
}

void Application::openWindow(const std::string& caption, int minGLVersion) {
    sdl.SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    sdl.SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 5);
    sdl.SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 5);
    sdl.SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 5);
    sdl.SDL_GL_SetAttribute(SDL_GL_BUFFER_SIZE, 32);
    sdl.SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    // Frames at the display's pace where the driver offers it; SDL keeps the
    // choice for every later mode.
    if (options.framesOnDemand) sdl.SDL_GL_SetAttribute(SDL_GL_SWAP_CONTROL, 1);

    // Read by SDL when the window is created: open it centred.
    setEnvironment("SDL_VIDEO_WINDOW_POS", "");
    setEnvironment("SDL_VIDEO_CENTERED", "1");

    windowedWidth = static_cast<std::int32_t>(width);
    windowedHeight = static_cast<std::int32_t>(height);
    // Only before the first mode is set does SDL report the desktop's size.
    if (options.fullscreen || options.fullscreenKeys) {
        const SDL_VideoInfo* info = sdl.SDL_GetVideoInfo();
        desktopWidth = info ? info->current_w : 0;
        desktopHeight = info ? info->current_h : 0;
    }
    fullscreen = options.fullscreen && desktopWidth > 0 && desktopHeight > 0;
    const std::int32_t w = fullscreen ? desktopWidth : windowedWidth;
    const std::int32_t h = fullscreen ? desktopHeight : windowedHeight;
    if (!sdl.SDL_SetVideoMode(w, h, 0, fullscreen ? fullscreenFlags : videoFlags))
        throw VandorException("Failed to set video mode: " + sdlError());
    pinLoadedLibraries(); // again: the context brought the driver's libraries
    sdl.SDL_WM_SetCaption(caption.c_str(), nullptr);
    sdl.SDL_ShowCursor(SDL_ENABLE);

    // Refuses a context older than minGLVersion, then binds up to its version.
    vandorGL().loadExtendedVersions(minGLVersion);
    vandorGL().loadExtensions();
    // Where the display tells its rate, its period is rounded down, so that a
    // swap that follows the display never misses a refresh for this pace.
    if (const double rate = options.framesOnDemand ? vandorGL().refreshRate() : 0; rate >= 1)
        framePeriodMs = static_cast<std::uint32_t>(1000 / rate);

    clearColor = Color4f(0, 0, 0, 1);

    gl.glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    gl.glEnable(GL_BLEND);
    gl.glEnable(GL_NORMALIZE);
    gl.glShadeModel(GL_SMOOTH);
    gl.glAlphaFunc(GL_GREATER, 0.0f);
    gl.glEnable(GL_ALPHA_TEST);
    gl.glEnable(GL_DEPTH_TEST);
    gl.glDepthFunc(GL_LESS);
    gl.glEnable(GL_CULL_FACE);
}

void Application::addEventHandlers() {
    eventManager = std::make_unique<EventManager>(fullscreen ? desktopWidth : windowedWidth,
                                                  fullscreen ? desktopHeight : windowedHeight);
    // Through lambdas, so the overrides of the most derived class run even
    // though they are registered from the base constructor.
    eventManager->addHandler(EventType::Quit, [this] { exit(); });
    eventManager->addHandler(EventType::Resize, [this] { onResize(); });
    eventManager->addHandler(EventType::KeyDown, [this] { onKeyDown(); });
    eventManager->addHandler(EventType::KeyUp, [this] { onKeyUp(); });
    eventManager->addHandler(EventType::MouseButtonDown, [this] { onMouseButtonDown(); });
    eventManager->addHandler(EventType::MouseButtonUp, [this] { onMouseButtonUp(); });
    eventManager->addHandler(EventType::JoystickButtonDown, [this] { onJoyButtonDown(); });
    eventManager->addHandler(EventType::JoystickButtonUp, [this] { onJoyButtonUp(); });
    eventManager->addHandler(EventType::JoystickAxisMotion, [this] { onJoyAxisMotion(); });
    eventManager->addHandler(EventType::JoystickHatMotion, [this] { onJoyHatMotion(); });
}

Application::~Application() = default;

Layer& Application::addLayer(std::unique_ptr<Layer> layer) {
    Layer& added = *layer;
    layers.push_back(std::move(layer));
    sortLayers();
    return added;
}

Layer& Application::addWindowLayer(LayerType type, std::int32_t depth) {
    auto layer = std::make_unique<Layer>(0, 0, static_cast<std::uint32_t>(eventManager->windowWidth),
                                         static_cast<std::uint32_t>(eventManager->windowHeight), type, depth);
    layer->autoResize = true;
    return addLayer(std::move(layer));
}

Layer& Application::addLayer3D(std::int32_t depth) { return addWindowLayer(LayerType::Layer3D, depth); }

Layer& Application::addLayer2D(std::int32_t depth) { return addWindowLayer(LayerType::Layer2D, depth); }

void Application::sortLayers() {
    std::ranges::sort(layers, [](const auto& a, const auto& b) { return a->depth > b->depth; });
}

void Application::exit() { eventManager->running = false; }

void Application::onResize() { setVideoMode(eventManager->windowWidth, eventManager->windowHeight); }

void Application::setFullscreen(bool on) {
    if (on == fullscreen) return;
    const std::int32_t w = eventManager->windowWidth;
    const std::int32_t h = eventManager->windowHeight;
    if (on) {
        windowedWidth = w;
        windowedHeight = h;
    }
    fullscreen = on;
    const bool desktopKnown = desktopWidth > 0 && desktopHeight > 0;
    const bool switched = on && desktopKnown ? applyVideoMode(desktopWidth, desktopHeight)
                                             : applyVideoMode(windowedWidth, windowedHeight);
    if (switched) return;
    // SDL refused the other mode (a driver without full screen, a size it
    // cannot show): the program goes on in the mode it had, which SDL gave.
    fullscreen = !on;
    setVideoMode(w, h);
}

bool Application::fullscreenShortcut() const {
    if (!options.fullscreenKeys) return false;
    const std::int32_t key = eventManager->eventKey;
    const bool alt = eventManager->keyPressed[SDLK_LALT] || eventManager->keyPressed[SDLK_RALT];
    return key == SDLK_F11 || (key == SDLK_RETURN && alt);
}

void Application::setVideoMode(std::int32_t w, std::int32_t h) {
    if (!applyVideoMode(w, h)) throw VandorException("failed to set video mode: " + sdlError());
}

bool Application::applyVideoMode(std::int32_t w, std::int32_t h) {
    if (!sdl.SDL_SetVideoMode(w, h, 0, fullscreen ? fullscreenFlags : videoFlags)) return false;
    // SDL raises no resize event for a mode the program sets itself.
    eventManager->windowWidth = w;
    eventManager->windowHeight = h;
    // SDL keeps the old context on X11, and with it the old viewport: without
    // this the picture would stay in the lower-left corner of a larger window.
    gl.glViewport(0, 0, w, h);
    for (std::size_t i = 0; i < layers.size(); ++i) {
        Layer& layer = *layers[i];
        if (layer.autoResize)
            layer.resize(layer.x, layer.y, static_cast<std::uint32_t>(w), static_cast<std::uint32_t>(h));
    }
    // The frame drawn right after a mode change may not come out whole (under
    // Mesa's software renderer a layer's capture of it did not): one more
    // frame shows the new size.
    frameNow = true;
    return true;
}

void Application::drawFrame() {
    gl.glClearColor(clearColor.r(), clearColor.g(), clearColor.b(), clearColor.a());
    gl.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    gl.glLoadIdentity();
    gl.glColor4f(1, 1, 1, 1);
    onUpdate();
    for (std::size_t i = 0; i < layers.size(); ++i) {
        layers[i]->update(*eventManager);
        layers[i]->draw(eventManager->deltaTime);
    }
    sdl.SDL_GL_SwapBuffers();
    // Frames on demand wait for their time instead.
    if (!options.framesOnDemand) sdl.SDL_Delay(1);
}

void Application::onKeyDown() {
    if (eventManager->eventKey == escapeKey) eventManager->running = false;
    if (fullscreenShortcut()) setFullscreen(!fullscreen);
    for (std::size_t i = 0; i < layers.size(); ++i) layers[i]->onKeyDown(*eventManager);
}

// A release alone also stops: the press may have come before the window had focus.
void Application::onKeyUp() {
    if (eventManager->eventKey == escapeKey) eventManager->running = false;
    for (std::size_t i = 0; i < layers.size(); ++i) layers[i]->onKeyUp(*eventManager);
}

void Application::onMouseButtonDown() {
    for (std::size_t i = 0; i < layers.size(); ++i) layers[i]->onMouseButtonDown(*eventManager);
}

void Application::onMouseButtonUp() {
    for (std::size_t i = 0; i < layers.size(); ++i) layers[i]->onMouseButtonUp(*eventManager);
}

void Application::onJoyButtonDown() {}
void Application::onJoyButtonUp() {}
void Application::onJoyAxisMotion() {}
void Application::onJoyHatMotion() {}

void Application::onUpdate() {}

void Application::run() {
    while (eventManager->running) {
        if (options.framesOnDemand) awaitFrame();
        eventManager->update();
        // A drawable may end its animation while drawing, as the frame that
        // shows its last step: the frame after it shows it at rest.
        const bool animatedBefore = options.framesOnDemand && animating();
        drawFrame();
        if (options.framesOnDemand) animated = animatedBefore || animating();
    }
    {
        const std::lock_guard lock(wakeMutex);
        wakeable = false;
    }
    eventManager->closeJoysticks();
    sdl.SDL_Quit();
}

void Application::awaitFrame() {
    std::optional<std::uint32_t> due = frameAt;
    if (animated) {
        const std::uint32_t paced = frameStart + framePeriodMs;
        if (!due || reached(paced, *due)) due = paced;
    }
    if (!frameNow && !(due && reached(*due, sdl.SDL_GetTicks()))) {
        eventManager->waitForEvent(due);
        if (!animated) eventManager->restartClock();
    }
    frameNow = false;
    frameStart = sdl.SDL_GetTicks();
    if (frameAt && reached(*frameAt, frameStart)) frameAt.reset();
}

bool Application::animating() const {
    for (std::size_t i = 0; i < layers.size(); ++i)
        if (layers[i]->animating()) return true;
    return false;
}

void Application::requestFrame(double seconds) {
    if (seconds <= 0) {
        frameNow = true;
        return;
    }
    const std::uint32_t at = sdl.SDL_GetTicks() + static_cast<std::uint32_t>(std::ceil(seconds * 1000));
    if (!frameAt || reached(at, *frameAt)) frameAt = at;
}

void Application::wake() {
    const std::lock_guard lock(wakeMutex);
    if (!wakeable) return;
    SDL_Event event{};
    event.type = SDL_USEREVENT;
    // A full queue drops it, and then holds events enough to wake the loop.
    sdl.SDL_PushEvent(&event);
}

} // namespace tandrel
