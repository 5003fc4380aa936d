#pragma once

#include "framework/core/event.hpp"
#include "framework/core/layer.hpp"
#include "support/image/color.hpp"

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace tandrel {

// Choices a program makes about its window before it opens.
struct WindowOptions {
    // Open at the desktop's size in full screen rather than in a window.
    bool fullscreen = false;
    // F11 and Alt+Enter switch between the window and full screen.
    bool fullscreenKeys = false;
    // Refuse to start on a video driver that shows nothing to anyone
    // (offscreen, dummy) unless SDL_VIDEODRIVER asked for it: without a
    // display such a program would run unseen until killed. Where the system
    // names no display at all and no driver was asked for, refuse before SDL
    // starts: SDL 1.2 would fall back on a driver that takes the terminal over.
    bool requireDisplay = false;
    // Frames on demand: the loop draws a frame only when something may have
    // changed the picture (an event, a wake from another thread, a frame the
    // program asked for, or a layer or the program animating) and otherwise
    // waits without using the processor. The buffer swap is asked to follow
    // the display, and an animation's frames come at most at the display's
    // rate (60 Hz where it cannot be known) whatever the driver does.
    bool framesOnDemand = false;
};

// Base class of every program on the framework: owns the window, the OpenGL
// context, the event manager and the layers, and runs the main loop. A program
// derives from it, overrides the handlers it needs and adds its layers in its
// own constructor.
class Application {
public:
    // minGLVersion is major x 10 + minor (12 for OpenGL 1.2). Raises
    // VandorException when SDL, the window or the OpenGL version fails.
    Application(std::uint32_t width, std::uint32_t height, const std::string& caption, int minGLVersion,
                WindowOptions options = {});
    virtual ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The size requested at construction; the live size is the event
    // manager's windowWidth and windowHeight.
    std::uint32_t width;
    std::uint32_t height;
    std::unique_ptr<EventManager> eventManager;
    // In drawing order: descending depth.
    std::vector<std::unique_ptr<Layer>> layers;
    Color4f clearColor;
    // Whether the window is in full screen now.
    bool fullscreen = false;

    // Takes ownership and returns the same layer.
    virtual Layer& addLayer(std::unique_ptr<Layer> layer);
    // A window-sized layer that follows the window's size.
    virtual Layer& addLayer3D(std::int32_t depth);
    virtual Layer& addLayer2D(std::int32_t depth);
    // Not stable: layers of equal depth may swap.
    virtual void sortLayers();
    // The loop ends after the current pass.
    virtual void exit();
    virtual void onResize();
    virtual void drawFrame();
    virtual void onKeyDown();
    virtual void onKeyUp();
    virtual void onMouseButtonDown();
    virtual void onMouseButtonUp();
    // The joystick handlers are empty here; the event manager's eventJoy...
    // fields and its joystickStates say what happened.
    virtual void onJoyButtonDown();
    virtual void onJoyButtonUp();
    virtual void onJoyAxisMotion();
    virtual void onJoyHatMotion();
    // Full screen at the desktop's size, or back to the window's earlier size.
    // The desktop's size is known when the options asked for full screen or
    // its keys; otherwise full screen keeps the window's size.
    virtual void setFullscreen(bool on);
    // While a key handler runs: whether the key pressed is F11 or Alt+Enter
    // and the options made them switch full screen.
    bool fullscreenShortcut() const;
    // Called by drawFrame before the layers; empty here.
    virtual void onUpdate();
    // Returns once running is cleared; SDL is shut down by then.
    virtual void run();
    // With frames on demand: whether the next frame must come although no
    // event does. Here, whether any layer animates. While it holds, frames
    // come at the display's pace, and one more follows the last frame drawn
    // while it held.
    virtual bool animating() const;
    // With frames on demand: a frame `seconds` from now (at once by default),
    // event or none. From the main thread.
    void requestFrame(double seconds = 0);
    // Safe from any thread: a frame follows at once, as after an event. A
    // thread that hands the main thread a result calls it once the result is
    // there. Does nothing once run has ended.
    void wake();

private:
    void refuseInvisibleDriver();
    void openWindow(const std::string& caption, int minGLVersion);
    // False, with nothing changed, when SDL refuses the mode.
    bool applyVideoMode(std::int32_t width, std::int32_t height);
    void setVideoMode(std::int32_t width, std::int32_t height);
    // With frames on demand, before a pass: returns when its frame is due.
    void awaitFrame();
    void addEventHandlers();
    Layer& addWindowLayer(LayerType type, std::int32_t depth);

    WindowOptions options;
    std::int32_t desktopWidth = 0;
    std::int32_t desktopHeight = 0;
    // The size to go back to when full screen ends.
    std::int32_t windowedWidth = 0;
    std::int32_t windowedHeight = 0;

    // Frames on demand: one at once (the first frame, or one asked for), one
    // at a tick count, and whether the last pass animated, so that the next
    // frame comes one display period after that pass's began.
    bool frameNow = true;
    std::optional<std::uint32_t> frameAt;
    bool animated = false;
    std::uint32_t frameStart = 0;
    // 60 Hz where the display's rate cannot be known.
    std::uint32_t framePeriodMs = 17;
    // Held while pushing a wake, so that none is pushed once SDL shuts down.
    std::mutex wakeMutex;
    bool wakeable = true;
};

} // namespace tandrel
