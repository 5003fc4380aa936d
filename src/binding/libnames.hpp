#pragma once

namespace tandrel {

// What the media libraries are on the platform the program is built for; one
// file per platform. The comma-separated candidate names each library is
// loaded from by default:
struct DefaultLibNames {
    const char* gl;
    const char* glu;
    const char* sdl;
    const char* freetype;
};

extern const DefaultLibNames defaultLibNames;

// Whether the system's GLU is 1.3, so that what 1.3 added must exist; Windows'
// glu32.dll is GLU 1.2.
extern const bool systemGLU13;
// Whether SDL exports the string helpers that its Windows build maps to the
// C runtime's own (SDL_strrev, SDL_ltoa...).
extern const bool sdlExportsStringHelpers;

} // namespace tandrel
