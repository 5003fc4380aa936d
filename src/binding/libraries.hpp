#pragma once

namespace tandrel {

// Loads OpenGL, GLU, SDL and FreeType from their default candidate lists and
// binds their entry points; libraries already loaded are left as they are.
void loadMediaLibraries();

// Keeps every library mapped now loaded until the process ends. SDL and the
// OpenGL driver open libraries of their own (X, the driver, LLVM) and close
// them on shutdown while those still hold process-wide allocations; keeping
// them leaves nothing pointing into unmapped code, which the leak checker of
// the sanitizer build would otherwise report as leaks of unknown origin.
void pinLoadedLibraries();

} // namespace tandrel
