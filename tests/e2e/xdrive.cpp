// tandrel-xdrive [-o shot.png] [-w settle-ms] <window title> [key]...
// Finds the window, gives it the keyboard, types the keys (X keysym names)
// with a pause after each so that every slide finishes, then optionally saves
// the window as a PNG. Used by scripts/screenshot.
#include "harness.hpp"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

int main(int argc, char** argv) {
    std::string out;
    int settle = 250;
    std::vector<std::string> args(argv + 1, argv + argc);
    std::size_t i = 0;
    for (; i + 1 < args.size() && args[i].size() == 2 && args[i][0] == '-'; i += 2) {
        if (args[i] == "-o") out = args[i + 1];
        else if (args[i] == "-w") settle = std::atoi(args[i + 1].c_str());
        else break;
    }
    if (i >= args.size()) {
        std::fprintf(stderr, "usage: tandrel-xdrive [-o shot.png] [-w settle-ms] <window title> [key]...\n");
        return 2;
    }
    try {
        e2e::XSession x;
        auto window = x.findWindow(args[i], 0, e2e::Millis(10000));
        if (!window) {
            std::fprintf(stderr, "tandrel-xdrive: no window titled %s\n", args[i].c_str());
            return 1;
        }
        x.focus(*window);
        std::this_thread::sleep_for(e2e::Millis(settle));
        for (++i; i < args.size(); ++i) {
            x.key(args[i]);
            std::this_thread::sleep_for(e2e::Millis(settle));
        }
        if (!out.empty()) {
            auto image = x.capture(*window);
            if (!image || !image->savePng(out)) {
                std::fprintf(stderr, "tandrel-xdrive: cannot save %s\n", out.c_str());
                return 1;
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tandrel-xdrive: %s\n", e.what());
        return 1;
    }
    return 0;
}
