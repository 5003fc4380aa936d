// Uploading an image with its mipmap chain on the real driver (Mesa's
// software renderer under the test display).

#include <benchmark/benchmark.h>

#include "bench_window.hpp"
#include "framework/graphics/texture.hpp"

namespace {

using namespace tandrel;

void BM_CreateFromImage(benchmark::State& state) {
    if (!bench::openWindow(64, 64)) return state.SkipWithError("no OpenGL window (is DISPLAY set?)");
    ImageRGBA8 image(1024, 1024);
    for (int y = 0; y < 1024; ++y)
        for (int x = 0; x < 1024; ++x) image.setColorAt(Color4f(x / 1023.0f, y / 1023.0f, 0.5f, 1), x, y);
    Texture texture;
    for (auto _ : state) {
        texture.createFromImage(image, true);
        gl.glFinish();
    }
    texture.free();
}
BENCHMARK(BM_CreateFromImage)->Unit(benchmark::kMillisecond);

} // namespace
