#include "game/memory/sqlite.hpp"

namespace tandrel {

const char* const sqliteLibNames = "libsqlite3.so.0,libsqlite3.so";

} // namespace tandrel
