// Cost of building the game's two fonts, and of drawing and measuring a line
// whose glyphs are cached, with the heap allocations each iteration makes.

#include <benchmark/benchmark.h>

// GCC pairs the counter's inlined malloc and free with new and delete and
// warns about a mismatch that is not there.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#include "alloc_counter.hpp"
#pragma GCC diagnostic pop

#include "bench_window.hpp"
#include "framework/ui/ftfont.hpp"
#include "framework/ui/textline.hpp"

namespace {

const char* const fontPath = TANDREL_BUILD_DIR "/data/fonts/clearsans/ClearSans-Bold.ttf";

// Fonts need a current OpenGL context, here with a 2D projection of one unit
// per pixel.
bool openWindow() {
    static const bool ready = [] {
        if (!tandrel::bench::openWindow(410, 450)) return false;
        tandrel::gl.glMatrixMode(GL_PROJECTION);
        tandrel::gl.glOrtho(0, 410, 0, 450, -1, 1);
        tandrel::gl.glMatrixMode(GL_MODELVIEW);
        return true;
    }();
    return ready;
}

void BM_ConstructFont(benchmark::State& state) {
    if (!openWindow()) return state.SkipWithError("no OpenGL window (is DISPLAY set?)");
    const auto size = static_cast<std::uint32_t>(state.range(0));
    const std::size_t before = tandrel::bench::allocations.load();
    for (auto _ : state) {
        tandrel::FreeTypeFont font(fontPath, size);
        benchmark::DoNotOptimize(font.ftFace);
    }
    tandrel::bench::reportAllocations(state, before, "allocs/iter");
}
BENCHMARK(BM_ConstructFont)->Arg(27)->Arg(16)->Unit(benchmark::kMillisecond);

void BM_DrawCachedLine(benchmark::State& state) {
    if (!openWindow()) return state.SkipWithError("no OpenGL window (is DISPLAY set?)");
    tandrel::FreeTypeFont font(fontPath, 27);
    tandrel::TextLine line(font, "Score: 123456 \u00e9", {200, 15});
    line.alignment = tandrel::Alignment::Center;
    const std::size_t before = tandrel::bench::allocations.load();
    for (auto _ : state) line.draw(0);
    tandrel::gl.glFinish();
    tandrel::bench::reportAllocations(state, before, "allocs/iter");
}
BENCHMARK(BM_DrawCachedLine)->Unit(benchmark::kMicrosecond);

void BM_MeasureCachedLine(benchmark::State& state) {
    if (!openWindow()) return state.SkipWithError("no OpenGL window (is DISPLAY set?)");
    tandrel::FreeTypeFont font(fontPath, 27);
    tandrel::TextLine line(font, "Score: 123456 \u00e9", {200, 15});
    const std::string sameText = line.text;
    const std::size_t before = tandrel::bench::allocations.load();
    for (auto _ : state) {
        line.setText(sameText);
        benchmark::DoNotOptimize(font.textWidth(line.text));
    }
    tandrel::bench::reportAllocations(state, before, "allocs/iter");
}
BENCHMARK(BM_MeasureCachedLine)->Unit(benchmark::kNanosecond);

} // namespace
