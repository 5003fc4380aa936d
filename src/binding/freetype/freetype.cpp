#include "binding/freetype/freetype.hpp"
#include "binding/libnames.hpp"

namespace tandrel {

FTTable ft;

VandorFTLoader::VandorFTLoader() : TableLoader(defaultLibNames.freetype, ft) {}

VandorFTLoader& vandorFT() {
    thread_local VandorFTLoader loader;
    return loader;
}

} // namespace tandrel
