#include "framework/core/heap.hpp"

#include <malloc.h>

namespace tandrel {

// glibc hands back the free top of its heap once it passes the threshold; a
// frame's worth of the driver's memory stays well under this one.
void keepFreedMemory() { mallopt(M_TRIM_THRESHOLD, 32 << 20); }

} // namespace tandrel
