#pragma once

#include "binding/util/loader.hpp"

#include <sqlite3.h>

namespace tandrel {

// Every SQLite 3 entry point; empty until bound. The game keeps its records
// through it, and a machine without SQLite still plays, remembering nothing.
struct SQLiteTable {
#define TANDREL_SQLITE(name, mustExist) decltype(&::name) name = nullptr;
#include "game/memory/sqlite_functions.inc"
#undef TANDREL_SQLITE

    template <typename F>
    void forEachSlot(F&& f) {
#define TANDREL_SQLITE(name, mustExist) f(static_cast<void*>(&name), #name, mustExist);
#include "game/memory/sqlite_functions.inc"
#undef TANDREL_SQLITE
    }
};

extern SQLiteTable sqlite;

// The library's candidate names on this platform; one file per platform.
extern const char* const sqliteLibNames;

class SQLiteLoader : public TableLoader<SQLiteTable> {
public:
    SQLiteLoader();
};

// Loaded once, by whichever thread asks first; the table then serves all.
SQLiteLoader& sqliteLoader();

} // namespace tandrel
