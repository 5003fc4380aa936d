#include "binding/sdl/sdl.hpp"

namespace tandrel {

SDLTable sdl;

VandorSDLLoader::VandorSDLLoader() : TableLoader("libSDL.so, libSDL.so.0, libSDL-1.2.so, libSDL-1.2.so.0", sdl) {}

VandorSDLLoader& vandorSDL() {
    thread_local VandorSDLLoader loader;
    return loader;
}

} // namespace tandrel
