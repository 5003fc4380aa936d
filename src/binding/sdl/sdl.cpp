#include "binding/sdl/sdl.hpp"

namespace tandrel {

SDLTable sdl;

void VandorSDLLoader::bindAllSymbols() {
#define TANDREL_SDL(name) bindSymbol(&sdl.name, #name);
#include "binding/sdl/sdl_functions.inc"
#undef TANDREL_SDL
}

VandorSDLLoader& vandorSDL() {
    thread_local VandorSDLLoader loader;
    return loader;
}

} // namespace tandrel
