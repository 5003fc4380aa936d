#pragma once

#include "binding/util/loader.hpp"

#include "binding/freetype/ft_headers.inc"

namespace tandrel {

// Every FreeType 2 entry point; empty until bound.
struct FTTable {
#define TANDREL_FT(name, mustExist) decltype(&::name) name = nullptr;
#include "binding/freetype/ft_functions.inc"
#undef TANDREL_FT

    template <typename F>
    void forEachSlot(F&& f) {
#define TANDREL_FT(name, mustExist) f(static_cast<void*>(&name), #name, mustExist);
#include "binding/freetype/ft_functions.inc"
#undef TANDREL_FT
    }
};

extern FTTable ft;

class VandorFTLoader : public TableLoader<FTTable> {
public:
    VandorFTLoader();
};

VandorFTLoader& vandorFT();

} // namespace tandrel
