#include "framework/ui/freeview.hpp"

#include "binding/opengl/gl.hpp"
#include "binding/sdl/sdl.hpp"
#include "framework/core/event.hpp"

namespace tandrel {

namespace {
constexpr int middleButton = SDL_BUTTON_MIDDLE;
constexpr int rightButton = SDL_BUTTON_RIGHT;
constexpr int wheelUp = SDL_BUTTON_WHEELUP;
constexpr int wheelDown = SDL_BUTTON_WHEELDOWN;
constexpr int leftShift = SDLK_LSHIFT;
constexpr float dragSmoothness = 16;
constexpr float wheelStep = 2;
constexpr float wheelSmoothness = 16;

void holdCursorAt(int x, int y) {
    sdl.SDL_WarpMouse(static_cast<Uint16>(x), static_cast<Uint16>(y));
    sdl.SDL_ShowCursor(SDL_DISABLE);
}
} // namespace

FreeviewLayer::FreeviewLayer(std::uint32_t width, std::uint32_t height, std::int32_t depth)
    : Layer(0, 0, width, height, LayerType::Layer3D, depth) {
    addModifier(camera);
}

void FreeviewLayer::update(EventManager& events) {
    const int w = events.windowWidth / 2;
    const int h = events.windowHeight / 2;
    // Offsets in whole pixels, divided in floating point so that slow drags
    // still move the camera.
    const auto dx = static_cast<float>(w - events.mouseX);
    const auto dy = static_cast<float>(h - events.mouseY);
    dragging = events.rmbPressed || events.mmbPressed || (events.lmbPressed && events.keyPressed[leftShift]);
    if (events.rmbPressed) {
        camera.pitchSmooth(-dy / 8, dragSmoothness);
        camera.turnSmooth(dx / 8, dragSmoothness);
        holdCursorAt(w, h);
    } else if (dragging) {
        camera.moveForwardSmooth(dy / 16, dragSmoothness);
        camera.moveRightSmooth(-dx / 16, dragSmoothness);
        holdCursorAt(w, h);
    } else {
        sdl.SDL_ShowCursor(SDL_ENABLE);
    }
}

void FreeviewLayer::onMouseButtonDown(EventManager& events) {
    switch (events.eventButton) {
    case rightButton:
    case middleButton:
        prevMouseX = events.mouseX;
        prevMouseY = events.mouseY;
        sdl.SDL_WarpMouse(static_cast<Uint16>(width / 2), static_cast<Uint16>(height / 2));
        break;
    case wheelUp: camera.zoomSmooth(-wheelStep, wheelSmoothness); break;
    case wheelDown: camera.zoomSmooth(wheelStep, wheelSmoothness); break;
    default: break;
    }
}

bool FreeviewLayer::animating() const { return dragging || Layer::animating(); }

void Axes::draw(double) {
    gl.glDisable(GL_LIGHTING);
    gl.glPointSize(5);
    gl.glPushMatrix();
    gl.glScalef(10, 10, 10);
    static constexpr float axes[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (const auto& axis : axes) {
        // Each axis in its own colour: x red, y green, z blue.
        gl.glColor3f(axis[0], axis[1], axis[2]);
        gl.glBegin(GL_LINES);
        gl.glVertex3f(0, 0, 0);
        gl.glVertex3f(axis[0], axis[1], axis[2]);
        gl.glEnd();
        gl.glBegin(GL_POINTS);
        gl.glVertex3f(axis[0], axis[1], axis[2]);
        gl.glEnd();
    }
    gl.glColor3f(1, 1, 1);
    gl.glBegin(GL_POINTS);
    gl.glVertex3f(0, 0, 0);
    gl.glEnd();
    gl.glPopMatrix();
    gl.glPointSize(1);
    gl.glEnable(GL_LIGHTING);
}

void Axes::free() {}

} // namespace tandrel
