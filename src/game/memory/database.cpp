#include "game/memory/database.hpp"

#include "game/memory/sqlite.hpp"

#include <utility>

namespace tandrel::memory {

namespace {
// Another window of the game may be writing; its transactions are short.
constexpr int busyMilliseconds = 5000;
} // namespace

bool DatabaseError::damaged() const { return code == SQLITE_NOTADB || code == SQLITE_CORRUPT; }

int check(sqlite3* db, int result, std::string_view doing) {
    if (result == SQLITE_OK || result == SQLITE_ROW || result == SQLITE_DONE) return result;
    std::string message(doing);
    message.append(": ").append(db ? sqlite.sqlite3_errmsg(db) : sqlite.sqlite3_errstr(result));
    throw DatabaseError(message, db ? sqlite.sqlite3_extended_errcode(db) & 0xFF : result & 0xFF);
}

Statement::Statement(sqlite3* db, std::string_view sql) : db(db) {
    check(db, sqlite.sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &statement, nullptr),
          "cannot read");
}

Statement::~Statement() { sqlite.sqlite3_finalize(statement); }

Statement::Statement(Statement&& other) noexcept : db(other.db), statement(std::exchange(other.statement, nullptr)) {}

Statement& Statement::bind(int index, std::int64_t value) {
    check(db, sqlite.sqlite3_bind_int64(statement, index, value), "cannot write");
    return *this;
}

Statement& Statement::bind(int index, std::string_view text) {
    check(db, sqlite.sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT),
          "cannot write");
    return *this;
}

Statement& Statement::bind(int index, std::span<const std::byte> blob) {
    check(db, sqlite.sqlite3_bind_blob(statement, index, blob.data(), static_cast<int>(blob.size()), SQLITE_TRANSIENT),
          "cannot write");
    return *this;
}

bool Statement::step() { return check(db, sqlite.sqlite3_step(statement), "cannot use") == SQLITE_ROW; }

void Statement::reset() { sqlite.sqlite3_reset(statement); }

bool Statement::isInteger(int column) { return sqlite.sqlite3_column_type(statement, column) == SQLITE_INTEGER; }

std::int64_t Statement::integer(int column) { return sqlite.sqlite3_column_int64(statement, column); }

std::string_view Statement::text(int column) {
    const auto* text = sqlite.sqlite3_column_text(statement, column);
    // Asked for after the text, as SQLite wants: the text may be converted first.
    const int size = sqlite.sqlite3_column_bytes(statement, column);
    return text ? std::string_view(reinterpret_cast<const char*>(text), static_cast<std::size_t>(size))
                : std::string_view();
}

std::span<const std::byte> Statement::blob(int column) {
    const void* data = sqlite.sqlite3_column_blob(statement, column);
    const int size = sqlite.sqlite3_column_bytes(statement, column);
    return data ? std::span(static_cast<const std::byte*>(data), static_cast<std::size_t>(size))
                : std::span<const std::byte>();
}

Database::Database(const std::filesystem::path& path, Mode mode) {
    const int flags = mode == Mode::ReadOnly    ? SQLITE_OPEN_READONLY
                      : mode == Mode::ReadWrite ? SQLITE_OPEN_READWRITE
                                                : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    // SQLite takes file names as UTF-8 on every platform.
    const std::u8string name = path.u8string();
    const int result =
        sqlite.sqlite3_open_v2(reinterpret_cast<const char*>(name.c_str()), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    try {
        check(db, result, "cannot open");
        sqlite.sqlite3_busy_timeout(db, busyMilliseconds);
    } catch (...) {
        sqlite.sqlite3_close(db);
        throw;
    }
}

Database::~Database() {
    if (db) sqlite.sqlite3_close(db);
}

Database::Database(Database&& other) noexcept : db(std::exchange(other.db, nullptr)) {}

Database& Database::operator=(Database&& other) noexcept {
    std::swap(db, other.db);
    return *this;
}

void Database::exec(const char* sql) {
    check(db, sqlite.sqlite3_exec(db, sql, nullptr, nullptr, nullptr), "cannot write");
}

Statement Database::prepare(std::string_view sql) { return Statement(db, sql); }

std::int64_t Database::single(std::string_view sql) {
    Statement query = prepare(sql);
    return query.step() ? query.integer(0) : 0;
}

std::string Database::quickCheck() {
    Statement query = prepare("PRAGMA quick_check(1)");
    return query.step() ? std::string(query.text(0)) : std::string();
}

} // namespace tandrel::memory
