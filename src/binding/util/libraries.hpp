#pragma once

namespace tandrel {

// Loads OpenGL, GLU, SDL and FreeType from their default candidate lists and
// binds their entry points; libraries already loaded are left as they are.
void loadMediaLibraries();

} // namespace tandrel
