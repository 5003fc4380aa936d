// The game killed at any moment (kill -9, a crash, a power cut as far as the
// process can tell) while it keeps a match and records matches.
#include <gtest/gtest.h>

#include "memory_fixture.hpp"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tandrel::memory {
namespace {

using namespace test;

// What the game does as fast as the disk lets it: moves kept one by one,
// then the match decided and recorded, and the next one.
[[noreturn]] void playForever(const fs::path& folder, std::uint64_t firstId) {
    std::vector<std::string> lines;
    Keeper keeper(options(folder, lines, std::chrono::milliseconds(0)));
    for (std::uint64_t id = firstId;; ++id) {
        KeptMatch match = keptMatch(id);
        for (int move = 0; move < 4; ++move) {
            match.boards[0].score += 4;
            keeper.keep(match);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        keeper.record(record(id, PlayerKind::Person, match.boards[0].score, PlayerKind::Hard, 12));
    }
}

TEST(KeeperCrash, AKillAtAnyMomentNeverLosesARecordNorLeavesAFileTheGameRefuses) {
    ScratchFolder scratch;
    const fs::path folder = scratch.path() / "tandrel";
    std::mt19937 random(20261210u);
    std::uniform_int_distribution<int> moment(10, 120);
    constexpr int kills = 40;
    std::int64_t recorded = 0;
    int resumed = 0;
    for (int kill = 0; kill < kills; ++kill) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) playForever(folder, 1000000u * static_cast<std::uint64_t>(kill + 1));
        std::this_thread::sleep_for(std::chrono::milliseconds(moment(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the game ended by itself";

        // The next start, as the game makes it.
        std::vector<std::string> lines;
        Keeper keeper(options(folder, lines));
        ASSERT_EQ(lines, std::vector<std::string>{}) << "after kill " << kill;
        for (const auto& entry : fs::directory_iterator(folder))
            EXPECT_EQ(entry.path().string().find(".bad"), std::string::npos) << entry.path();
        resumed += keeper.keptMatch().has_value();
        const Summary& summary = keeper.firstSummary();
        const std::int64_t now = summary.against[2].won;
        EXPECT_GE(now, recorded) << "a record was lost by kill " << kill;
        recorded = now;
    }
    EXPECT_GT(recorded, kills) << "too few matches recorded to prove anything";
    RecordProperty("recorded", static_cast<int>(recorded));
    RecordProperty("resumed", resumed);
}

} // namespace
} // namespace tandrel::memory
