#pragma once

#include "binding/util/exception.hpp"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace tandrel::memory {

// A failure SQLite reported, with its primary result code, so that a caller
// can tell a damaged file from a full disk or a busy one.
class DatabaseError : public VandorException {
public:
    DatabaseError(const std::string& message, int code) : VandorException(message), code(code) {}
    int code;
    // The file is not a database, or a damaged one.
    bool damaged() const;
};

// One prepared statement of a Database; valid while the database is open.
class Statement {
public:
    Statement(sqlite3* db, std::string_view sql);
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&&) = delete;
    Statement(const Statement&) = delete;

    // Parameters are numbered from 1, as in SQL.
    Statement& bind(int index, std::int64_t value);
    Statement& bind(int index, std::string_view text);
    Statement& bind(int index, std::span<const std::byte> blob);
    // True while a row is there to read.
    bool step();
    void reset();
    // Columns are numbered from 0.
    bool isInteger(int column);
    std::int64_t integer(int column);
    std::string_view text(int column);
    std::span<const std::byte> blob(int column);

private:
    sqlite3* db;
    sqlite3_stmt* statement = nullptr;
};

// One SQLite file, opened for this thread's use.
class Database {
public:
    enum class Mode { ReadOnly, ReadWrite, Create };

    // SQLite must be loaded. Throws DatabaseError.
    Database(const std::filesystem::path& path, Mode mode);
    ~Database();
    Database(Database&& other) noexcept;
    Database& operator=(Database&& other) noexcept;
    Database(const Database&) = delete;

    void exec(const char* sql);
    Statement prepare(std::string_view sql);
    // The first column of the first row, for the one-value queries.
    std::int64_t single(std::string_view sql);
    // "ok" unless SQLite finds the file damaged.
    std::string quickCheck();

private:
    sqlite3* db = nullptr;
};

// Raises DatabaseError for a result code other than SQLITE_OK, SQLITE_ROW
// and SQLITE_DONE, worded with what was being done.
int check(sqlite3* db, int result, std::string_view doing);

} // namespace tandrel::memory
