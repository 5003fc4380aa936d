#pragma once

#include "binding/libnames.hpp"
#include "binding/util/loader.hpp"

#include <SDL/SDL.h>

namespace tandrel {

// Every SDL 1.2 entry point; empty until bound.
struct SDLTable {
#define TANDREL_SDL(name, mustExist) decltype(&::name) name = nullptr;
#include "binding/sdl/sdl_functions.inc"
#undef TANDREL_SDL

    template <typename F>
    void forEachSlot(F&& f) {
#define TANDREL_SDL(name, mustExist) f(static_cast<void*>(&name), #name, mustExist);
#include "binding/sdl/sdl_functions.inc"
#undef TANDREL_SDL
    }
};

extern SDLTable sdl;

class VandorSDLLoader : public TableLoader<SDLTable> {
public:
    VandorSDLLoader();
};

VandorSDLLoader& vandorSDL();

} // namespace tandrel
