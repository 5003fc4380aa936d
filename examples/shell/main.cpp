// The smallest complete program on the framework: a pyramid turning in
// perspective, with a translucent banner drawn flat over it in a scene that
// grows with the window. F11 or Alt+Enter switches to full screen and back;
// Escape or closing the window ends it. It draws frames on demand: the
// pyramid never stops turning, so it always says it animates, and the loop
// draws at the display's pace rather than as fast as the processor allows.

#include <tandrel/binding/opengl/gl.hpp>
#include <tandrel/framework/core/application.hpp>
#include <tandrel/framework/core/entry.hpp>

namespace {

using namespace tandrel;

// A four-sided pyramid turning about its upright axis. Faces wind
// counter-clockwise seen from outside, as the default face culling expects.
class Pyramid : public Drawable {
public:
    void draw(double dt) override {
        angle += static_cast<float>(dt) * degreesPerSecond; // frame-rate independent
        gl.glTranslatef(0, 0, -4);
        gl.glRotatef(20, 1, 0, 0);
        gl.glRotatef(angle, 0, 1, 0);

        const Vector3f apex(0, 1, 0);
        const Vector3f base[4] = {{-1, -1, 1}, {1, -1, 1}, {1, -1, -1}, {-1, -1, -1}};
        const Color4f sides[4] = {Color4f(0xE8553F), Color4f(0xF2C14E), Color4f(0x4FB286), Color4f(0x3C7DD9)};
        gl.glBegin(GL_TRIANGLES);
        for (int i = 0; i < 4; ++i) {
            const Vector3f& a = base[i];
            const Vector3f& b = base[(i + 1) % 4];
            gl.glColor3f(sides[i].r(), sides[i].g(), sides[i].b());
            gl.glVertex3f(apex.x, apex.y, apex.z);
            gl.glVertex3f(a.x, a.y, a.z);
            gl.glVertex3f(b.x, b.y, b.z);
        }
        gl.glEnd();
    }
    void free() override {}
    bool animating() const override { return true; }

private:
    static constexpr float degreesPerSecond = 45;
    float angle = 0;
};

// A flat rectangle in the flat layer's units, origin at the lower left.
class Banner : public Drawable {
public:
    void draw(double) override {
        gl.glColor4f(1, 1, 1, 0.35f); // blending is on by default
        gl.glBegin(GL_QUADS);
        gl.glVertex2f(40, 30);
        gl.glVertex2f(770, 30);
        gl.glVertex2f(770, 90);
        gl.glVertex2f(40, 90);
        gl.glEnd();
    }
    void free() override {}
};

class Shell : public Application {
public:
    Shell() : Application(810, 450, "Tandrel shell", 12, {.fullscreenKeys = true, .framesOnDemand = true}) {
        clearColor = Color4f(0x1E2430);
        // The larger depth is drawn first, so the banner lies over the pyramid.
        addLayer3D(1).addDrawable(pyramid);
        Layer& flat = addLayer2D(0);
        // 810 x 450 units whatever the window's size: the banner keeps its
        // place in the picture, drawn as large as the window allows.
        flat.setLogicalSize(810, 450);
        flat.addDrawable(banner);
    }

private:
    // Layers only point at what they draw; the program keeps it alive.
    Pyramid pyramid;
    Banner banner;
};

} // namespace

int main() {
    return tandrel::runReportingFailures("tandrel-shell", [] {
        Shell shell;
        shell.run();
        return 0;
    });
}
