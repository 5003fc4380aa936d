// A free-view 3D scene: the coordinate axes over a checkerboard that the
// program paints pixel by pixel into an image and uploads as a mipmapped
// texture. A flat layer on top shows a live thumbnail of the 3D layer, copied
// from the frame buffer every frame, and a line naming the controls.
// Right drag turns, middle drag or Shift + left drag moves, the wheel zooms,
// Escape or closing the window ends it. Between inputs the picture stands
// still, so it draws frames on demand: the free view says it animates while
// a drag lasts and while a zoom eases in, and otherwise the viewer waits.

#include <tandrel/binding/opengl/gl.hpp>
#include <tandrel/framework/core/application.hpp>
#include <tandrel/framework/core/entry.hpp>
#include <tandrel/framework/graphics/texture.hpp>
#include <tandrel/framework/ui/freeview.hpp>
#include <tandrel/framework/ui/ftfont.hpp>
#include <tandrel/framework/ui/textline.hpp>
#include <tandrel/support/image/image.hpp>

#include <memory>

namespace {

using namespace tandrel;

// Draws `texture` on the rectangle (x0, y0)-(x1, y1) of the plane z = 0.
void drawTexturedQuad(Texture& texture, float x0, float y0, float x1, float y1) {
    // Axes leaves lighting on; these flat colours want it off.
    gl.glDisable(GL_LIGHTING);
    gl.glColor4f(1, 1, 1, 1); // the texture's own colours, unmodulated
    texture.bind(0);
    gl.glBegin(GL_QUADS);
    gl.glTexCoord2f(0, 0);
    gl.glVertex3f(x0, y0, 0);
    gl.glTexCoord2f(1, 0);
    gl.glVertex3f(x1, y0, 0);
    gl.glTexCoord2f(1, 1);
    gl.glVertex3f(x1, y1, 0);
    gl.glTexCoord2f(0, 1);
    gl.glVertex3f(x0, y1, 0);
    gl.glEnd();
    texture.unbind();
}

// An 8 x 8 board of 8-pixel squares in two colours.
std::unique_ptr<SuperImage> checkerboard() {
    auto image = std::make_unique<ImageRGB8>(64, 64);
    const Color4f light(0xEEE4DA), dark(0x8F7A66);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) image->setColorAt((x / 8 + y / 8) % 2 ? dark : light, x, y);
    return image;
}

// The checkerboard standing upright behind the origin, eight units wide.
class Board : public Drawable {
public:
    explicit Board(Texture& texture) : texture(texture) {}
    void draw(double) override { drawTexturedQuad(texture, -4, -4, 4, 4); }
    void free() override {}

private:
    Texture& texture;
};

// What a layer drew, shrunk to a quarter of the window's width with the
// window's aspect ratio and kept in the window's top-right corner at any size.
class Thumbnail : public Drawable {
public:
    // `frame` is the flat layer the thumbnail is drawn in: its size is the
    // window's.
    Thumbnail(Layer& source, Layer& frame) : source(source), frame(frame) {}
    void draw(double) override {
        const float margin = 10, border = 2, w = float(frame.width), h = float(frame.height);
        const float x0 = w - margin - w / 4, y0 = h - margin - h / 4, x1 = w - margin, y1 = h - margin;
        // A light frame, so that the thumbnail's edge shows against the
        // scene's own background; unlit, as Axes leaves lighting on.
        const Color4f edge(0xF9F6F2);
        gl.glDisable(GL_LIGHTING);
        gl.glColor3f(edge.r(), edge.g(), edge.b());
        gl.glRectf(x0 - border, y0 - border, x1 + border, y1 + border);
        drawTexturedQuad(source.getTexture(), x0, y0, x1, y1);
    }
    void free() override {}

private:
    Layer& source;
    Layer& frame;
};

class Viewer : public Application {
public:
    Viewer()
        : Application(810, 450, "Tandrel viewer", 12, {.framesOnDemand = true}),
          font("./data/fonts/clearsans/ClearSans-Bold.ttf", 16),
          controls(font, "Right drag: turn   Middle or Shift + left drag: move   Wheel: zoom   Escape: quit",
                   {405, 14}) {
        clearColor = Color4f(0x1E2430);
        // Drawing order is enough here, and the board shows from both sides.
        gl.glDisable(GL_DEPTH_TEST);
        gl.glDisable(GL_CULL_FACE);

        image = checkerboard();
        boardTexture.createFromImage(*image, true);

        auto freeview = std::make_unique<FreeviewLayer>(width, height, 1);
        freeview->autoResize = true;
        freeview->camera.pitchAngle = 20;
        freeview->camera.turnAngle = -30;
        freeview->addDrawable(board);
        freeview->addDrawable(axes);
        Layer& scene = addLayer(std::move(freeview));
        scene.getTexture(); // from now on every pass copies the scene

        // Depth 0 is drawn after depth 1: the flat layer lies on top.
        Layer& overlay = addLayer2D(0);
        thumbnail = std::make_unique<Thumbnail>(scene, overlay);
        overlay.addDrawable(*thumbnail);
        controls.alignment = Alignment::Center;
        controls.color = Color4f(0xF9F6F2);
        overlay.addDrawable(controls);
    }

private:
    // Layers only point at what they draw; the program keeps it alive.
    FreeTypeFont font;
    TextLine controls;
    std::unique_ptr<SuperImage> image;
    Texture boardTexture;
    Board board{boardTexture};
    Axes axes;
    std::unique_ptr<Thumbnail> thumbnail;
};

} // namespace

int main() {
    return tandrel::runReportingFailures("tandrel-viewer", [] {
        Viewer viewer;
        viewer.run();
        return 0;
    });
}
