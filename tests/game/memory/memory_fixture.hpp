// What the tests of the game's memory share: a scratch data folder, a keeper
// whose lines are collected, and matches to record and keep.
#pragma once

#include "game/memory/keeper.hpp"
#include "game/memory/matchfile.hpp"
#include "game/memory/records.hpp"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace tandrel::memory::test {

namespace fs = std::filesystem;

// A folder of its own under the system's temporary one, removed afterwards.
class ScratchFolder {
public:
    ScratchFolder() {
        std::random_device random;
        path_ = fs::temp_directory_path() / ("tandrel-memory-" + std::to_string(random()));
        fs::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

inline std::string bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline Keeper::Options options(const fs::path& folder, std::vector<std::string>& lines,
                               std::chrono::milliseconds keepInterval = std::chrono::milliseconds(1000)) {
    return {.folder = folder,
            .report = [&lines](const std::string& line) { lines.push_back(line); },
            .keepInterval = keepInterval};
}

inline MatchRecord record(std::uint64_t id, PlayerKind left, std::int64_t leftScore, PlayerKind right,
                          std::int64_t rightScore) {
    return {id,
            1765000000 + static_cast<std::int64_t>(id),
            {{{left, leftScore, 256, 90}, {right, rightScore, 512, 120}}},
            winnerOf(leftScore, rightScore)};
}

// A match part-way through, its generator some way into its words.
inline KeptMatch keptMatch(std::uint64_t id, std::int32_t leftScore = 36) {
    KeptMatch match;
    match.id = id;
    match.boards[0] = {PlayerKind::Person, {2, 0, 0, 4, 0, 8, 0, 0, 0, 0, 16, 0, 0, 0, 0, 2}, leftScore, 9, false};
    match.boards[1] = {PlayerKind::Hard, {0, 0, 0, 0, 4, 4, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0}, 12, 7, true};
    match.generator = Mt19937::seededFromSystem().state();
    match.generatorPosition = 17;
    return match;
}

// Waits for the keeper's thread to read the records anew after a record.
inline bool waitForSummary(Keeper& keeper, Summary& summary) {
    for (int i = 0; i < 500; ++i) {
        if (keeper.takeSummary(summary)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

} // namespace tandrel::memory::test
