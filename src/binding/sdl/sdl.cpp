#include "binding/sdl/sdl.hpp"
#include "binding/libnames.hpp"

namespace tandrel {

SDLTable sdl;

VandorSDLLoader::VandorSDLLoader() : TableLoader(defaultLibNames.sdl, sdl) {}

VandorSDLLoader& vandorSDL() {
    thread_local VandorSDLLoader loader;
    return loader;
}

} // namespace tandrel
