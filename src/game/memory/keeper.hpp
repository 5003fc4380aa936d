#pragma once

#include "game/memory/match.hpp"
#include "game/memory/sqlite.hpp"
#include "game/memory/storefile.hpp"

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace tandrel::memory {

// The game's memory: the records of decided matches and the one match in
// play, in two SQLite files of the data folder. Reading happens once, when it
// is made; every write happens on a thread of its own, so no frame ever
// waits for the disk. What goes wrong (no SQLite, a file to move aside, a
// folder that cannot be written) is one line for the player, and the game
// plays on.
class Keeper {
public:
    struct Options {
        // Empty: nothing is remembered.
        std::filesystem::path folder;
        // Where the lines for the player go.
        Report report;
        // Where SQLite is looked for: the platform's names unless told.
        const char* sqliteNames = sqliteLibNames;
        // The shortest time between two saves of the match in play: a crash
        // loses at most this much of it (and the save's own time), and a
        // computer playing fast costs the disk no more than this.
        std::chrono::milliseconds keepInterval{1000};
    };

    explicit Keeper(Options options);
    // Writes what is still to be written, then stops.
    ~Keeper();
    Keeper(const Keeper&) = delete;
    Keeper& operator=(const Keeper&) = delete;

    // Whether SQLite is there and the folder is known.
    bool remembers() const { return thread.joinable(); }
    // The match in play when the game last stopped, if it was not decided.
    const std::optional<KeptMatch>& keptMatch() const { return kept; }
    // The summary of the records as they were read at start.
    const Summary& firstSummary() const { return summary; }
    // The address last typed to join a network match, as read at start.
    const std::string& lastAddress() const { return address; }

    // None of these waits for the disk or allocates.
    // The match in play as it stands now; saved at most once a keepInterval.
    void keep(const KeptMatch& match);
    // There is no match to resume any more.
    void forget();
    // A decided match: recorded, and no longer kept for resuming.
    void record(const MatchRecord& record);
    // The address typed to join, offered again at the next start.
    void rememberAddress(const std::string& typed);
    // Fills `out` with the summary read after the latest record, once.
    bool takeSummary(Summary& out);
    // Called on the keeper's thread when a new summary is there to take;
    // empty to call nothing (before whatever it calls is gone).
    void setWake(std::function<void()> call);

private:
    // On the keeper's thread.
    void run();
    void write(std::vector<MatchRecord>& toRecord, bool forgetNow, const KeptMatch* toKeep);
    // The file is open for writing, made now if it was missing; false when it
    // cannot be written.
    bool writable(OpenedFile& file, const StoreFile& kind);
    void failed(const std::exception& error);

    Options options;
    OpenedFile records;
    OpenedFile match;
    std::optional<KeptMatch> kept;
    Summary summary;
    std::string address;
    // Said once: a folder that cannot be written stays so for a while.
    bool failureReported = false;

    std::mutex mutex;
    std::condition_variable wake;
    bool stopping = false;
    std::vector<MatchRecord> pendingRecords;
    bool forgetPending = false;
    bool keepPending = false;
    KeptMatch pendingKeep;
    bool addressPending = false;
    std::string pendingAddress;
    std::chrono::steady_clock::time_point nextKeep;
    bool summaryReady = false;
    Summary freshSummary;
    std::function<void()> wakeOwner;
    // Last, so that it starts once everything it uses is there.
    std::thread thread;
};

} // namespace tandrel::memory
