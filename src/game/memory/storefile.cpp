#include "game/memory/storefile.hpp"

#include "game/memory/sqlite.hpp"

#include <array>
#include <system_error>

namespace tandrel::memory {

namespace {

namespace fs = std::filesystem;

// Each connection waits for the disk on every commit: a kept match survives
// a power cut, and a recorded one is never lost to one.
void prepareConnection(Database& db) { db.exec("PRAGMA synchronous = FULL"); }

fs::path freeAsideName(const fs::path& path) {
    fs::path aside = path;
    aside += ".bad";
    std::error_code error;
    for (int n = 2; fs::exists(fs::symlink_status(aside, error)); ++n) {
        aside = path;
        aside += ".bad-" + std::to_string(n);
    }
    return aside;
}

// SQLite keeps a transaction under way beside the file; it belongs to the
// file and goes with it.
constexpr std::array<const char*, 3> companions{"-journal", "-wal", "-shm"};

std::optional<fs::path> moveAside(const fs::path& path) {
    const fs::path aside = freeAsideName(path);
    std::error_code error;
    fs::rename(path, aside, error);
    if (error) return std::nullopt;
    for (const char* suffix : companions) {
        fs::path from = path, to = aside;
        from += suffix;
        to += suffix;
        if (fs::exists(fs::symlink_status(from, error))) fs::rename(from, to, error);
    }
    return aside;
}

std::string shown(const fs::path& path) { return path.string(); }

// Before the file is moved aside: Windows cannot rename a file that is open.
void closeNow(Database&& db) { const Database closing(std::move(db)); }

OpenedFile untrusted(Database&& db, const fs::path& path, const std::string& why, const Report& report) {
    closeNow(std::move(db));
    if (auto aside = moveAside(path)) {
        report(shown(path) + " is not to be trusted (" + why + "): moved to " + shown(*aside) + ", starting afresh");
        return {OpenedFile::State::Missing, std::nullopt};
    }
    report(shown(path) + " is not to be trusted (" + why +
           ") and cannot be moved aside: left as it is, nothing kept there");
    return {OpenedFile::State::Unusable, std::nullopt};
}

} // namespace

OpenedFile openStoreFile(const fs::path& folder, const StoreFile& file, const Report& report) {
    const fs::path path = folder / file.name;
    std::error_code error;
    if (!fs::exists(fs::symlink_status(path, error))) return {};
    std::optional<Database> db;
    try {
        db.emplace(path, Database::Mode::ReadWrite);
        const std::int64_t id = db->single("PRAGMA application_id");
        const std::int64_t version = db->single("PRAGMA user_version");
        if (id == 0 && version == 0 && db->single("SELECT count(*) FROM sqlite_master") == 0)
            return {OpenedFile::State::Missing, std::nullopt}; // empty: made and never written
        if (id != file.applicationId) return untrusted(std::move(*db), path, "not a file of Tandrel's", report);
        if (version > file.version) {
            db.emplace(path, Database::Mode::ReadOnly);
            return {OpenedFile::State::Newer, std::move(db)};
        }
        if (version < file.version) return untrusted(std::move(*db), path, "a layout Tandrel never wrote", report);
        if (const std::string verdict = db->quickCheck(); verdict != "ok")
            return untrusted(std::move(*db), path, "damaged: " + verdict, report);
        file.checkContents(*db);
        prepareConnection(*db);
        return {OpenedFile::State::Ready, std::move(db)};
    } catch (const ImpossibleContents& e) {
        return untrusted(std::move(*db), path, e.what(), report);
    } catch (const DatabaseError& e) {
        if (e.damaged() && db) return untrusted(std::move(*db), path, e.what(), report);
        // Not the file's fault (no permission, a busy or failing disk): left as it is.
        report("cannot read " + shown(path) + " (" + e.what() + "): left as it is, nothing kept there");
        return {OpenedFile::State::Unusable, std::nullopt};
    }
}

Database createStoreFile(const fs::path& folder, const StoreFile& file) {
    fs::create_directories(folder);
    Database db(folder / file.name, Database::Mode::Create);
    prepareConnection(db);
    // Another window may have made it meanwhile; anything else there is not
    // to be written over.
    if (db.single("SELECT count(*) FROM sqlite_master") != 0) {
        if (db.single("PRAGMA application_id") == file.applicationId &&
            db.single("PRAGMA user_version") == file.version)
            return db;
        throw DatabaseError("another program's file took its place", SQLITE_CANTOPEN);
    }
    // One transaction marks the file and makes its tables, so that no
    // interruption leaves a file that is marked but empty, or the reverse.
    db.exec("BEGIN IMMEDIATE");
    try {
        db.exec(("PRAGMA application_id = " + std::to_string(file.applicationId)).c_str());
        db.exec(("PRAGMA user_version = " + std::to_string(file.version)).c_str());
        db.exec(file.schema);
        db.exec("COMMIT");
    } catch (...) {
        db.exec("ROLLBACK");
        throw;
    }
    return db;
}

} // namespace tandrel::memory
