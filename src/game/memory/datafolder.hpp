#pragma once

#include <filesystem>

namespace tandrel::memory {

// The per-user folder the game keeps its records and its kept match in:
// $XDG_DATA_HOME/tandrel on Linux (~/.local/share/tandrel when the variable
// is unset, empty or not absolute), %APPDATA%\Tandrel on Windows. Empty when
// the platform names no home for it. Nothing creates it until there is
// something to keep. One file per platform.
std::filesystem::path dataFolder();

} // namespace tandrel::memory
