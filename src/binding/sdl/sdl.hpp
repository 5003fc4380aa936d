#pragma once

#include "binding/util/loader.hpp"

#include <SDL/SDL.h>

namespace tandrel {

// Every SDL 1.2 entry point the program calls; empty until bound.
struct SDLTable {
#define TANDREL_SDL(name) decltype(&::name) name = nullptr;
#include "binding/sdl/sdl_functions.inc"
#undef TANDREL_SDL
};

extern SDLTable sdl;

class VandorSDLLoader : public SharedLibLoader {
public:
    VandorSDLLoader() : SharedLibLoader("libSDL.so, libSDL.so.0, libSDL-1.2.so, libSDL-1.2.so.0") {}
    void bindAllSymbols() override;
};

VandorSDLLoader& vandorSDL();

} // namespace tandrel
