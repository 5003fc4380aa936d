// One frame of the viewer's 3D layer (camera, axes and a textured quad) with
// every OpenGL slot doing nothing, with the heap allocations per frame.

#include <benchmark/benchmark.h>

// GCC pairs the counter's inlined malloc and free with new and delete and
// warns about a mismatch that is not there.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#include "alloc_counter.hpp"
#pragma GCC diagnostic pop

#include "framework/graphics/texture.hpp"
#include "framework/ui/freeview.hpp"
#include "noop_gl.hpp"

namespace {

using namespace tandrel;

GLboolean alwaysLive(GLuint) { return GL_TRUE; }

class TexturedQuad : public Drawable {
public:
    explicit TexturedQuad(Texture& texture) : texture(texture) {}
    void draw(double dt) override {
        texture.bind(dt);
        gl.glBegin(GL_QUADS);
        const float corners[4][2] = {{-4, -4}, {4, -4}, {4, 4}, {-4, 4}};
        for (const auto& c : corners) {
            gl.glTexCoord2f(c[0] > 0, c[1] > 0);
            gl.glVertex3f(c[0], c[1], 0);
        }
        gl.glEnd();
        texture.unbind();
    }
    void free() override {}

private:
    Texture& texture;
};

void BM_FreeviewFrame(benchmark::State& state) {
    bench::installNoOpGL();
    gl.glIsTexture = &alwaysLive;
    FreeviewLayer layer(810, 450);
    Texture texture;
    TexturedQuad quad(texture);
    Axes axes;
    layer.addDrawable(quad);
    layer.addDrawable(axes);
    layer.camera.pitchAngle = 20;
    layer.camera.zoomSmooth(-2, 16); // easing under way, as after a wheel notch
    const std::size_t before = bench::allocations.load();
    for (auto _ : state) layer.draw(0.016);
    bench::reportAllocations(state, before, "allocs/frame");
}
BENCHMARK(BM_FreeviewFrame)->Unit(benchmark::kNanosecond);

} // namespace
