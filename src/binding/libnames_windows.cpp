#include "binding/libnames.hpp"

namespace tandrel {

// SDL and FreeType are the DLLs shipped beside the program; OpenGL and GLU
// are the system's own.
const DefaultLibNames defaultLibNames{"opengl32.dll", "glu32.dll", "SDL.dll", "freetype.dll"};

const bool systemGLU13 = false;
const bool sdlExportsStringHelpers = false;

} // namespace tandrel
