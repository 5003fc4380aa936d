#include "framework/core/heap.hpp"

namespace tandrel {

// The Windows heap keeps freed blocks for reuse by itself.
void keepFreedMemory() {}

} // namespace tandrel
