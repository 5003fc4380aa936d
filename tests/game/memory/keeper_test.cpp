#include <gtest/gtest.h>

#include "game/memory/sqlite.hpp"
#include "memory_fixture.hpp"

#include <functional>

namespace tandrel::memory {
namespace {

using namespace test;

TEST(Keeper, RemembersDecidedMatchesAndTheMatchInPlayFromOneStartToTheNext) {
    ScratchFolder scratch;
    const fs::path folder = scratch.path() / "tandrel";
    std::vector<std::string> lines;
    const KeptMatch inPlay = keptMatch(77);
    {
        Keeper keeper(options(folder, lines));
        ASSERT_TRUE(keeper.remembers());
        EXPECT_FALSE(keeper.keptMatch());
        EXPECT_FALSE(fs::exists(folder)) << "written before there was anything to keep";
        keeper.record(record(10, PlayerKind::Person, 500, PlayerKind::Hard, 300));
        keeper.record(record(11, PlayerKind::Hard, 800, PlayerKind::Person, 200));
        keeper.record(record(12, PlayerKind::Person, 100, PlayerKind::Hard, 100));
        keeper.record(record(13, PlayerKind::Easy, 50, PlayerKind::Easy, 70));
        keeper.record(record(13, PlayerKind::Easy, 50, PlayerKind::Easy, 70)); // the same match twice
        keeper.record(record(14, PlayerKind::Network, 900, PlayerKind::Person, 400));
        keeper.keep(inPlay);
        // The thread may sum up after any of the records; they are written
        // in order, so once the last one counts, all of them do.
        Summary summary;
        while (!summary.best[1]) ASSERT_TRUE(waitForSummary(keeper, summary));
        EXPECT_EQ(summary.against[2], (Tally{1, 1, 1})) << "hard, seen from the person's side";
        EXPECT_EQ(summary.against[0], (Tally{})) << "a match of two computers is no person's";
        EXPECT_EQ(summary.best[0], 500);
        EXPECT_EQ(summary.best[1], 70);
        EXPECT_EQ(summary.best[3], 800);
        EXPECT_FALSE(summary.best[4]);
        EXPECT_EQ(summary.best[5], 900) << "the other machine's person is not this one's best";
        EXPECT_EQ(summary.against, (std::array<Tally, levelCount>{Tally{}, Tally{}, Tally{1, 1, 1}, Tally{}}))
            << "a network match is no tally against the computer";
    }
    {
        Keeper keeper(options(folder, lines));
        ASSERT_TRUE(keeper.keptMatch());
        EXPECT_EQ(*keeper.keptMatch(), inPlay);
        EXPECT_EQ(keeper.firstSummary().best[3], 800);
        Database db(folder / recordsFile.name, Database::Mode::ReadOnly);
        const auto latest = lastRecords(db, 10);
        ASSERT_EQ(latest.size(), 5u);
        EXPECT_EQ(latest[0], record(14, PlayerKind::Network, 900, PlayerKind::Person, 400));
        // Decided: recorded, and kept no more.
        keeper.record(record(77, PlayerKind::Person, 2000, PlayerKind::Hard, 1000));
    }
    {
        Keeper keeper(options(folder, lines));
        EXPECT_FALSE(keeper.keptMatch());
        EXPECT_EQ(keeper.firstSummary().against[2], (Tally{2, 1, 1}));
    }
    // Stopped between recording a match and forgetting it: the next start
    // finds it recorded and does not resume it.
    {
        Database db = createStoreFile(folder, matchFile);
        saveKeptMatch(db, keptMatch(10));
    }
    Keeper keeper(options(folder, lines));
    EXPECT_FALSE(keeper.keptMatch());
    EXPECT_EQ(lines, std::vector<std::string>{});
}

// A records file holding one match, through `change` made into a bad one.
void recordsWith(const fs::path& folder, const char* change) {
    Database db = createStoreFile(folder, recordsFile);
    addRecord(db, record(5, PlayerKind::Person, 640, PlayerKind::Normal, 320));
    if (*change) db.exec(change);
}

void keptWith(const fs::path& folder, const char* change) {
    Database db = createStoreFile(folder, matchFile);
    saveKeptMatch(db, keptMatch(6));
    db.exec(change);
}

TEST(Keeper, NeverTrustsNorOverwritesABadFileAndPlaysOnAfresh) {
    sqliteLoader().load();
    enum class Outcome { MovedAside, LeftAsItIs, CannotWrite };
    struct Case {
        const char* name;
        const char* file;
        std::function<void(const fs::path& folder)> make;
        Outcome outcome;
        const char* said;
    };
    const auto foreignText = [](const fs::path& folder) {
        fs::create_directories(folder);
        std::ofstream(folder / recordsFile.name) << std::string(3000, 'x');
    };
    const auto foreignDatabase = [](const fs::path& folder) {
        fs::create_directories(folder);
        Database(folder / recordsFile.name, Database::Mode::Create).exec("CREATE TABLE notes(text)");
    };
    const auto truncated = [](const fs::path& folder) {
        {
            Database db = createStoreFile(folder, recordsFile);
            db.exec("PRAGMA synchronous = OFF");
            for (std::uint64_t id = 1; id <= 300; ++id)
                addRecord(db, record(id, PlayerKind::Person, 4 * static_cast<std::int64_t>(id), PlayerKind::Hard, 3));
        }
        fs::resize_file(folder / recordsFile.name, fs::file_size(folder / recordsFile.name) / 2);
    };
    const Case cases[] = {
        {"a text file", recordsFile.name, foreignText, Outcome::MovedAside, "file is not a database"},
        {"another program's database", recordsFile.name, foreignDatabase, Outcome::MovedAside,
         "not a file of Tandrel's"},
        {"a truncated file", recordsFile.name, truncated, Outcome::MovedAside, "malformed"},
        {"a tile of 3", matchFile.name,
         [](const fs::path& f) {
             keptWith(f, "UPDATE kept SET left_cells = zeroblob(4) || x'03000000' || zeroblob(56)");
         },
         Outcome::MovedAside, "a tile no board can hold"},
        {"a kept network match", matchFile.name,
         [](const fs::path& f) { keptWith(f, "UPDATE kept SET right_player = 'network'"); }, Outcome::MovedAside,
         "a player over the network"},
        {"a negative score", recordsFile.name,
         [](const fs::path& f) { recordsWith(f, "UPDATE matches SET right_score = -5, winner = 'left'"); },
         Outcome::MovedAside, "impossible contents"},
        {"an unknown level", recordsFile.name,
         [](const fs::path& f) { recordsWith(f, "UPDATE matches SET right_player = 'grandmaster'"); },
         Outcome::MovedAside, "impossible contents"},
        {"a newer Tandrel's records", recordsFile.name,
         [](const fs::path& f) { recordsWith(f, "PRAGMA user_version = 2"); }, Outcome::LeftAsItIs, "newer Tandrel"},
        {"a file where the folder should be", "", [](const fs::path& f) { std::ofstream(f) << "not a folder"; },
         Outcome::CannotWrite, "cannot keep records in"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder scratch;
        const fs::path folder = scratch.path() / "tandrel";
        c.make(folder);
        const fs::path path = folder / c.file;
        const std::string before = bytesOf(path);
        std::vector<std::string> lines;
        {
            Keeper keeper(options(folder, lines, std::chrono::milliseconds(0)));
            ASSERT_TRUE(keeper.remembers());
            EXPECT_FALSE(keeper.keptMatch());
            // The game plays on and keeps what it can.
            keeper.keep(keptMatch(8));
            keeper.record(record(9, PlayerKind::Person, 64, PlayerKind::Easy, 32));
            keeper.keep(keptMatch(10));
            if (c.outcome == Outcome::LeftAsItIs) {
                EXPECT_EQ(keeper.firstSummary().best[2], 320) << "read as far as this version understands it";
            }
        }
        ASSERT_EQ(lines.size(), 1u) << ::testing::PrintToString(lines);
        EXPECT_NE(lines[0].find(c.said), std::string::npos) << lines[0];
        if (c.outcome == Outcome::CannotWrite) continue;
        EXPECT_NE(lines[0].find(path.string()), std::string::npos) << lines[0];
        if (c.outcome == Outcome::LeftAsItIs) {
            EXPECT_EQ(bytesOf(path), before) << "a newer file was written";
            continue;
        }
        fs::path aside = path;
        aside += ".bad";
        EXPECT_NE(lines[0].find(aside.string()), std::string::npos) << lines[0];
        EXPECT_EQ(bytesOf(aside), before);
        // Afresh: what this start kept is there for the next one.
        Keeper next(options(folder, lines));
        ASSERT_TRUE(next.keptMatch());
        EXPECT_EQ(next.keptMatch()->id, 10u);
        EXPECT_EQ(next.firstSummary().best[1], 32);
    }
}

TEST(Keeper, WithoutSQLiteSaysOnceThatNothingWillBeRemembered) {
    sqliteLoader().unload();
    ScratchFolder scratch;
    std::vector<std::string> lines;
    Keeper::Options without = options(scratch.path(), lines);
    without.sqliteNames = "libsqlite3-not-here.so.0";
    Keeper keeper(without);
    EXPECT_FALSE(keeper.remembers());
    keeper.keep(keptMatch(1));
    keeper.record(record(1, PlayerKind::Person, 4, PlayerKind::Easy, 2));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("nothing will be remembered"), std::string::npos) << lines[0];
    EXPECT_TRUE(fs::is_empty(scratch.path()));
}

} // namespace
} // namespace tandrel::memory
