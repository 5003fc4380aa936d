#pragma once

#include "game/memory/database.hpp"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace tandrel::memory {

// Raised by a file's check when it holds what the game could never have
// written: a tile of 3, a negative score, an unknown level.
class ImpossibleContents : public VandorException {
public:
    using VandorException::VandorException;
};

// Where a line for the player goes: stderr in the game, a list in tests.
using Report = std::function<void(const std::string& line)>;

// One of the game's SQLite files: its name in the data folder, the marks that
// tell it from any other file, and what it holds.
struct StoreFile {
    const char* name;
    // What kind of file the "PRAGMA application_id" mark says it is.
    std::int64_t applicationId;
    // The layout this version writes ("PRAGMA user_version"); a file of a
    // newer layout comes from a newer Tandrel.
    std::int64_t version;
    // Creates the tables, within the transaction that marks a new file.
    const char* schema;
    // Reads every entry and throws ImpossibleContents for one the game could
    // not have written.
    void (*checkContents)(Database& db);
};

// What the folder holds of a file at start.
struct OpenedFile {
    enum class State {
        // Nothing there yet (or it was moved aside): written afresh.
        Missing,
        // The game's own: read and written.
        Ready,
        // Written by a newer Tandrel: read as far as this one understands it,
        // never written, so never downgraded.
        Newer,
        // Could not be read or moved aside: left alone, nothing written.
        Unusable,
    };
    State state = State::Missing;
    std::optional<Database> db;
};

// Opens the file if the folder holds it. A file that is not the game's, is
// damaged or holds impossible contents is never trusted and never
// overwritten: it is moved aside to "<name>.bad" (or "<name>.bad-2" and on),
// with one line naming both paths, and the game starts afresh. SQLite must be
// loaded.
OpenedFile openStoreFile(const std::filesystem::path& folder, const StoreFile& file, const Report& report);

// Creates the folder and the file with its tables, for the first write; an
// existing file of the game's is opened as it is. Throws DatabaseError or
// std::filesystem::filesystem_error.
Database createStoreFile(const std::filesystem::path& folder, const StoreFile& file);

} // namespace tandrel::memory
