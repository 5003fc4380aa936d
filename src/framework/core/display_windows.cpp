#include "framework/core/display.hpp"

namespace tandrel {

// Every Windows session has its desktop.
bool displayNamed() { return true; }

} // namespace tandrel
