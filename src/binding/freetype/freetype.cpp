#include "binding/freetype/freetype.hpp"

namespace tandrel {

FTTable ft;

VandorFTLoader::VandorFTLoader() : TableLoader("libfreetype.so.6,libfreetype.so", ft) {}

VandorFTLoader& vandorFT() {
    thread_local VandorFTLoader loader;
    return loader;
}

} // namespace tandrel
