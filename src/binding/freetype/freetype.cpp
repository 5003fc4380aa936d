#include "binding/freetype/freetype.hpp"

namespace tandrel {

FTTable ft;

void VandorFTLoader::bindAllSymbols() {
#define TANDREL_FT(name) bindSymbol(&ft.name, #name);
#include "binding/freetype/ft_functions.inc"
#undef TANDREL_FT
}

VandorFTLoader& vandorFT() {
    thread_local VandorFTLoader loader;
    return loader;
}

} // namespace tandrel
