#pragma once

#include "framework/core/event.hpp"
#include "framework/core/layer.hpp"
#include "support/image/color.hpp"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tandrel {

// Base class of every program on the framework: owns the window, the OpenGL
// context, the event manager and the layers, and runs the main loop. A program
// derives from it, overrides the handlers it needs and adds its layers in its
// own constructor.
class Application {
public:
    // minGLVersion is major x 10 + minor (12 for OpenGL 1.2). Raises
    // VandorException when SDL, the window or the OpenGL version fails.
    Application(std::uint32_t width, std::uint32_t height, const std::string& caption, int minGLVersion);
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
    // Called by drawFrame before the layers; empty here.
    virtual void onUpdate();
    // Returns once running is cleared; SDL is shut down by then.
    virtual void run();

private:
    void openWindow(const std::string& caption, int minGLVersion);
    void addEventHandlers();
    Layer& addWindowLayer(LayerType type, std::int32_t depth);
};

} // namespace tandrel
