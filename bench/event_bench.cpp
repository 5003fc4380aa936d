// One event-manager update per iteration, draining a small burst of events,
// with the heap allocations it makes reported per update (there should be none).

// GCC takes the counter's free() for a mismatch with the operator new it
// replaces, once the benchmark registration inlines both.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#include "alloc_counter.hpp"
#pragma GCC diagnostic pop

#include "binding/sdl/sdl.hpp"
#include "framework/core/event.hpp"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

using namespace tandrel;

void BM_EventUpdate(benchmark::State& state) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    vandorSDL().load();
    if (sdl.SDL_Init(SDL_INIT_VIDEO) < 0) {
        state.SkipWithError(sdl.SDL_GetError());
        return;
    }
    {
        EventManager events(810, 450);
        int seen = 0;
        events.addHandler(EventType::KeyDown, [&seen] { ++seen; });
        events.addHandler(EventType::MouseMotion, [&seen] { ++seen; });

        SDL_Event key{}, motion{}, press{}, hat{}, axis{};
        key.type = SDL_KEYDOWN;
        key.key.keysym.sym = SDLK_d;
        motion.type = SDL_MOUSEMOTION;
        motion.motion.x = 100;
        motion.motion.y = 200;
        press.type = SDL_MOUSEBUTTONDOWN;
        press.button.button = SDL_BUTTON_LEFT;
        // A second gamepad's d-pad and stick: per-device state as well.
        hat.jhat = {SDL_JOYHATMOTION, 1, 0, SDL_HAT_LEFT};
        axis.jaxis = {SDL_JOYAXISMOTION, 1, 0, -30000};

        const std::size_t before = bench::allocations.load();
        for (auto _ : state) {
            sdl.SDL_PushEvent(&key);
            sdl.SDL_PushEvent(&motion);
            sdl.SDL_PushEvent(&press);
            sdl.SDL_PushEvent(&hat);
            sdl.SDL_PushEvent(&axis);
            events.update();
        }
        const std::size_t made = bench::allocations.load() - before;
        state.counters["allocations_per_update"] =
            benchmark::Counter(static_cast<double>(made) / static_cast<double>(state.iterations()));
        benchmark::DoNotOptimize(seen);
    }
    sdl.SDL_Quit();
}
BENCHMARK(BM_EventUpdate);

} // namespace
