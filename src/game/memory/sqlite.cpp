#include "game/memory/sqlite.hpp"

namespace tandrel {

SQLiteTable sqlite;

SQLiteLoader::SQLiteLoader() : TableLoader(sqliteLibNames, sqlite) {}

SQLiteLoader& sqliteLoader() {
    static SQLiteLoader loader;
    return loader;
}

} // namespace tandrel
