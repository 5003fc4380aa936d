#include "game/memory/sqlite.hpp"

namespace tandrel {

// Shipped beside the program, as SDL.dll and freetype.dll are.
const char* const sqliteLibNames = "sqlite3.dll";

} // namespace tandrel
