#pragma once

#include "binding/util/loader.hpp"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H

namespace tandrel {

// Every FreeType 2 entry point the program calls; empty until bound.
struct FTTable {
#define TANDREL_FT(name) decltype(&::name) name = nullptr;
#include "binding/freetype/ft_functions.inc"
#undef TANDREL_FT
};

extern FTTable ft;

class VandorFTLoader : public SharedLibLoader {
public:
    VandorFTLoader() : SharedLibLoader("libfreetype.so.6,libfreetype.so") {}
    void bindAllSymbols() override;
};

VandorFTLoader& vandorFT();

} // namespace tandrel
