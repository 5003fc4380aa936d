#pragma once

namespace tandrel {

// What loading an extension came to; ExtNotListed answers for a name the
// extension table does not hold.
enum class GLExtensionState { ExtLoaded = 0, ExtLoadFailed = 1, ExtUnsupported = 2, ExtNotListed = 3 };

} // namespace tandrel
