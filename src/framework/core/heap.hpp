#pragma once

namespace tandrel {

// Keeps the memory the process frees for its next use rather than handing it
// back to the system at once. Software OpenGL drivers allocate and free
// megabytes every frame, and memory handed back is faulted in again, zeroed
// page by page, in the next: that costs as much as drawing. One file per
// platform.
void keepFreedMemory();

} // namespace tandrel
