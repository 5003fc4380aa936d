#include "framework/core/environment.hpp"

#include <cstdlib>

namespace tandrel {

void setEnvironment(const char* name, const char* value) { setenv(name, value, 1); }

} // namespace tandrel
