// Binding the media libraries' full lists and, in a real window of Mesa's
// software renderer, the OpenGL versions and the extension table: what
// start-up spends on the binding. Needs an X display: run it under Xvfb.

#include "binding/freetype/freetype.hpp"
#include "binding/libraries.hpp"
#include "binding/opengl/gl.hpp"
#include "binding/opengl/glu.hpp"
#include "binding/sdl/sdl.hpp"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

namespace {

using namespace tandrel;

// The libraries loaded once; each iteration binds a whole list again.
template <typename Loader>
void BindAllSymbols(benchmark::State& state, Loader& (*loader)()) {
    loadMediaLibraries();
    for (auto _ : state) loader().bindAllSymbols();
    state.counters["functions"] = double(loader().boundSymbolCount());
}
BENCHMARK_CAPTURE(BindAllSymbols, OpenGL, &vandorGL)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BindAllSymbols, GLU, &vandorGLU)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BindAllSymbols, SDL, &vandorSDL)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BindAllSymbols, FreeType, &vandorFT)->Unit(benchmark::kMicrosecond);

// One window for the whole program, opened by the first benchmark that needs it.
void requireWindow() {
    static const bool opened = [] {
        loadMediaLibraries();
        if (sdl.SDL_Init(SDL_INIT_VIDEO) < 0 || !sdl.SDL_SetVideoMode(64, 64, 0, SDL_OPENGL)) {
            std::fprintf(stderr, "no OpenGL window: %s\n", sdl.SDL_GetError());
            std::exit(1);
        }
        return true;
    }();
    (void)opened;
}

void LoadExtendedVersions(benchmark::State& state) {
    requireWindow();
    for (auto _ : state) vandorGL().loadExtendedVersions(12);
}
BENCHMARK(LoadExtendedVersions)->Unit(benchmark::kMicrosecond);

void LoadExtensions(benchmark::State& state) {
    requireWindow();
    for (auto _ : state) vandorGL().loadExtensions();
    state.counters["loaded"] = double(vandorGL().loadedExtensionNames().size());
}
BENCHMARK(LoadExtensions)->Unit(benchmark::kMicrosecond);

// All of the binding that start-up does once the libraries are open.
void WholeBinding(benchmark::State& state) {
    requireWindow();
    for (auto _ : state) {
        vandorGL().bindAllSymbols();
        vandorGLU().bindAllSymbols();
        vandorSDL().bindAllSymbols();
        vandorFT().bindAllSymbols();
        vandorGL().loadExtendedVersions(12);
        vandorGL().loadExtensions();
    }
}
BENCHMARK(WholeBinding)->Unit(benchmark::kMicrosecond);

} // namespace
