#include "game/memory/keeper.hpp"

#include "game/memory/matchfile.hpp"
#include "game/memory/records.hpp"

#include <algorithm>
#include <fstream>
#include <utility>

namespace tandrel::memory {

namespace {
// Records wait here only while the disk is slower than the matches are decided.
constexpr std::size_t recordRoom = 16;
// One line of text beside the records: not worth a database of its own.
constexpr const char* addressFile = "last-address";
constexpr std::size_t longestAddress = 255;

// The first line of the file, if it is one a person could have typed.
std::string readAddress(const std::filesystem::path& path) {
    std::string line;
    std::ifstream in(path);
    std::getline(in, line);
    const bool typable = std::ranges::all_of(line, [](char c) { return c > ' ' && c < 0x7F; });
    return typable && line.size() <= longestAddress ? line : "";
}
} // namespace

Keeper::Keeper(Options given) : options(std::move(given)) {
    const Report& report = options.report;
    if (options.folder.empty()) {
        report("no folder to keep records in (HOME is not set): nothing will be remembered");
        return;
    }
    try {
        sqliteLoader().load(options.sqliteNames);
    } catch (const VandorException& e) {
        report(std::string("SQLite cannot be loaded (") + e.what() + "): nothing will be remembered");
        return;
    }
    address = readAddress(options.folder / addressFile);
    records = openStoreFile(options.folder, recordsFile, report);
    match = openStoreFile(options.folder, matchFile, report);
    const std::string folder = options.folder.string();
    if (records.db) {
        try {
            summary = readSummary(*records.db);
        } catch (const DatabaseError& e) {
            report("cannot read the records in " + folder + " (" + e.what() + "): left as they are");
            records = {OpenedFile::State::Unusable, std::nullopt};
        }
    }
    if (records.state == OpenedFile::State::Newer)
        report((options.folder / recordsFile.name).string() +
               " was written by a newer Tandrel: its records are shown, and this one adds none");
    if (match.state == OpenedFile::State::Newer)
        report((options.folder / matchFile.name).string() +
               " holds a match kept by a newer Tandrel: left as it is, and this one keeps none");
    if (match.state == OpenedFile::State::Ready) {
        // Checked when the file was opened, so it reads.
        kept = loadKeptMatch(*match.db);
        // Recorded already: the game stopped between recording it and forgetting it.
        if (kept && records.db && isRecorded(*records.db, kept->id)) {
            kept.reset();
            forgetPending = true;
        }
    }
    pendingRecords.reserve(recordRoom);
    thread = std::thread([this] { run(); });
}

Keeper::~Keeper() {
    if (!thread.joinable()) return;
    {
        const std::lock_guard lock(mutex);
        stopping = true;
    }
    wake.notify_one();
    thread.join();
}

void Keeper::keep(const KeptMatch& state) {
    if (!remembers()) return;
    {
        const std::lock_guard lock(mutex);
        pendingKeep = state;
        keepPending = true;
    }
    wake.notify_one();
}

void Keeper::forget() {
    if (!remembers()) return;
    {
        const std::lock_guard lock(mutex);
        keepPending = false;
        forgetPending = true;
    }
    wake.notify_one();
}

void Keeper::record(const MatchRecord& record) {
    if (!remembers()) return;
    {
        const std::lock_guard lock(mutex);
        // A save of the match still waiting would keep a decided match.
        keepPending = false;
        if (pendingRecords.size() < recordRoom) pendingRecords.push_back(record);
    }
    wake.notify_one();
}

void Keeper::rememberAddress(const std::string& typed) {
    if (!remembers()) return;
    {
        const std::lock_guard lock(mutex);
        pendingAddress = typed;
        addressPending = true;
    }
    wake.notify_one();
}

bool Keeper::takeSummary(Summary& out) {
    const std::lock_guard lock(mutex);
    if (!summaryReady) return false;
    out = freshSummary;
    summaryReady = false;
    return true;
}

void Keeper::setWake(std::function<void()> call) {
    const std::lock_guard lock(mutex);
    wakeOwner = std::move(call);
}

void Keeper::run() {
    std::vector<MatchRecord> toRecord;
    toRecord.reserve(recordRoom);
    KeptMatch toKeep;
    std::unique_lock lock(mutex);
    for (;;) {
        // Closing the game saves at once whatever the interval says.
        const bool keepDue = keepPending && (stopping || std::chrono::steady_clock::now() >= nextKeep);
        if (addressPending) {
            const std::string typed = std::exchange(pendingAddress, {});
            addressPending = false;
            lock.unlock();
            try {
                std::filesystem::create_directories(options.folder);
                std::ofstream(options.folder / addressFile) << typed << '\n';
            } catch (const std::exception& e) {
                failed(e);
            }
            lock.lock();
            continue;
        }
        if (pendingRecords.empty() && !forgetPending && !keepDue) {
            if (stopping) return;
            if (keepPending)
                wake.wait_until(lock, nextKeep);
            else
                wake.wait(lock);
            continue;
        }
        toRecord.swap(pendingRecords);
        const bool forgetNow = std::exchange(forgetPending, false);
        if (keepDue) toKeep = pendingKeep;
        keepPending = keepPending && !keepDue;
        lock.unlock();
        write(toRecord, forgetNow, keepDue ? &toKeep : nullptr);
        toRecord.clear();
        lock.lock();
        if (keepDue) nextKeep = std::chrono::steady_clock::now() + options.keepInterval;
    }
}

void Keeper::write(std::vector<MatchRecord>& toRecord, bool forgetNow, const KeptMatch* toKeep) {
    try {
        if (!toRecord.empty() && writable(records, recordsFile)) {
            for (const MatchRecord& record : toRecord) addRecord(*records.db, record);
            Summary fresh = readSummary(*records.db);
            const std::lock_guard lock(mutex);
            freshSummary = fresh;
            summaryReady = true;
            // Under the lock, so that setWake never returns while its old
            // function still runs.
            if (wakeOwner) wakeOwner();
        }
        // Recorded first: an interruption between the two leaves a kept match
        // that the next start finds recorded, never a match lost.
        if (match.state == OpenedFile::State::Ready)
            for (const MatchRecord& record : toRecord) forgetKeptMatch(*match.db, record.id);
    } catch (const std::exception& e) {
        failed(e);
    }
    try {
        if (forgetNow && match.state == OpenedFile::State::Ready) forgetKeptMatch(*match.db);
        if (toKeep && writable(match, matchFile)) saveKeptMatch(*match.db, *toKeep);
    } catch (const std::exception& e) {
        failed(e);
    }
}

bool Keeper::writable(OpenedFile& file, const StoreFile& kind) {
    if (file.state == OpenedFile::State::Missing) {
        file.db = createStoreFile(options.folder, kind);
        file.state = OpenedFile::State::Ready;
    }
    return file.state == OpenedFile::State::Ready;
}

void Keeper::failed(const std::exception& error) {
    if (std::exchange(failureReported, true)) return;
    // The folder is named already; the system's own words say what is wrong with it.
    const auto* folderError = dynamic_cast<const std::filesystem::filesystem_error*>(&error);
    const std::string why = folderError ? folderError->code().message() : error.what();
    options.report("cannot keep records in " + options.folder.string() + " (" + why + "): playing on without them");
}

} // namespace tandrel::memory
