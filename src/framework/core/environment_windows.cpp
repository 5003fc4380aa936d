#include "framework/core/environment.hpp"

#include <cstdlib>

namespace tandrel {

// The C runtime's table is the one SDL.dll reads with getenv (it shares the
// program's runtime); _putenv_s updates the process's own as well. An empty
// value removes the variable, which is what an empty value means to SDL.
void setEnvironment(const char* name, const char* value) { _putenv_s(name, value); }

} // namespace tandrel
