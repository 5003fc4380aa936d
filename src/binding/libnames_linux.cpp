#include "binding/libnames.hpp"

namespace tandrel {

const DefaultLibNames defaultLibNames{
    "libGL.so.2,libGL.so.1,libGL.so",
    "libGLU.so,libGLU.so.1",
    "libSDL.so, libSDL.so.0, libSDL-1.2.so, libSDL-1.2.so.0",
    "libfreetype.so.6,libfreetype.so",
};

const bool systemGLU13 = true;
const bool sdlExportsStringHelpers = true;

} // namespace tandrel
