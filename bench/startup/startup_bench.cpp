// Time from exec to the first frame a player can see (the background and the
// opening tiles in the window), and the resident memory once the game runs.
// Needs an X display: run it under Xvfb. TANDREL_COMPARE_BUILD=<build dir>
// measures the game of another build too, in the same run.

#include "harness.hpp"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

using namespace e2e;
using Clock = std::chrono::steady_clock;

const std::string buildDir = TANDREL_BUILD_DIR;

// The first frame shows the background between the boards and the two
// opening tiles of the left board (sampled clear of their numbers).
bool showsFirstFrame(const Image& image) {
    if (!near(image.at(405, 200), rgb(0xBBADA0), 3)) return false;
    int tiles = 0;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            Rgb c = image.at(50 + 100 * x - 35, 50 + 100 * y - 35);
            if (near(c, rgb(0xEEE4DA), 3) || near(c, rgb(0xEDE0C8), 3)) ++tiles;
        }
    return tiles == 2;
}

double residentMiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) {
            std::istringstream fields(line.substr(6));
            double kib = 0;
            fields >> kib;
            return kib / 1024;
        }
    return 0;
}

void StartUpToFirstFrame(benchmark::State& state, const std::string& gameDir) {
    XSession x;
    double rssTotal = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        Child child(gameDir + "/tandrel", {gameDir, {{"LC_ALL", ""}, {"LC_MESSAGES", ""}, {"LANG", "C"}}});
        auto window = x.findWindow("Tandrel", child.pid(), Millis(10000));
        bool shown = false;
        while (window && !shown && Clock::now() - start < std::chrono::seconds(10)) {
            auto image = x.capture(*window);
            shown = image && showsFirstFrame(*image);
        }
        if (!shown) {
            state.SkipWithError("the game showed no first frame within 10 s");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());

        std::this_thread::sleep_until(start + std::chrono::seconds(2));
        rssTotal += residentMiB(child.pid());
        x.requestClose(*window);
        child.wait(Millis(5000));
    }
    state.counters["VmRSS_MiB_at_2s"] = benchmark::Counter(rssTotal / double(state.iterations()));
}
const bool registered = [] {
    std::vector<std::pair<std::string, std::string>> builds = {{"StartUpToFirstFrame", buildDir}};
    if (const char* other = std::getenv("TANDREL_COMPARE_BUILD"))
        builds.emplace_back(std::string("StartUpToFirstFrame/") + other, other);
    for (const auto& [name, dir] : builds)
        benchmark::RegisterBenchmark(name.c_str(), StartUpToFirstFrame, dir)
            ->UseManualTime()
            ->Iterations(5)
            ->Unit(benchmark::kMillisecond);
    return true;
}();

} // namespace
