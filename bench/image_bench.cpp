// Pixel reads and writes through the image interface, per format, on a
// 512 x 512 image, with the heap allocations per access.

#include <benchmark/benchmark.h>

// GCC pairs the counter's inlined malloc and free with new and delete and
// warns about a mismatch that is not there.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#include "alloc_counter.hpp"
#pragma GCC diagnostic pop

#include "support/image/image.hpp"

namespace {

using namespace tandrel;

constexpr int side = 512;
constexpr double pixels = double(side) * side;

template <typename ImageType>
void BM_ColorAt(benchmark::State& state) {
    ImageType image(side, side);
    SuperImage& any = image;
    const std::size_t before = bench::allocations.load();
    for (auto _ : state)
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) benchmark::DoNotOptimize(any.colorAt(x, y));
    bench::reportAllocations(state, before, "allocs/pixel", pixels);
    state.SetItemsProcessed(state.iterations() * std::int64_t(pixels));
}

template <typename ImageType>
void BM_SetColorAt(benchmark::State& state) {
    ImageType image(side, side);
    SuperImage& any = image;
    const Color4f colour(0.25f, 0.5f, 0.75f, 1);
    const std::size_t before = bench::allocations.load();
    for (auto _ : state) {
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) any.setColorAt(colour, x, y);
        benchmark::ClobberMemory();
    }
    bench::reportAllocations(state, before, "allocs/pixel", pixels);
    state.SetItemsProcessed(state.iterations() * std::int64_t(pixels));
}

#define TANDREL_IMAGE_BENCH(type)                               \
    BENCHMARK(BM_ColorAt<type>)->Unit(benchmark::kMillisecond); \
    BENCHMARK(BM_SetColorAt<type>)->Unit(benchmark::kMillisecond);
TANDREL_IMAGE_BENCH(ImageL8)
TANDREL_IMAGE_BENCH(ImageLA8)
TANDREL_IMAGE_BENCH(ImageRGB8)
TANDREL_IMAGE_BENCH(ImageRGBA8)
TANDREL_IMAGE_BENCH(ImageL16)
TANDREL_IMAGE_BENCH(ImageLA16)
TANDREL_IMAGE_BENCH(ImageRGB16)
TANDREL_IMAGE_BENCH(ImageRGBA16)

} // namespace
