#pragma once

namespace tandrel {

// Whether the system names a display a window could be shown on, or the user
// named a video driver in SDL_VIDEODRIVER. Without either, SDL 1.2 falls back
// on drivers that take the terminal over. One file per platform.
bool displayNamed();

} // namespace tandrel
