#pragma once

// Helpers for the display tier: real libraries, a real window under the
// private X server that scripts/test starts.

#include "support/image/color.hpp"

#include <array>
#include <cstdint>

namespace tandrel::test {

// Loads the four media libraries (once per process) and checks that a display
// is there: the display tier never skips, it fails without one.
void requireDisplay();

// The RGB bytes of one pixel of the back buffer, (0, 0) being the lower left.
std::array<std::uint8_t, 3> readPixel(int x, int y);

// True when every channel of the pixel is within tolerance of the colour.
bool pixelNear(int x, int y, std::uint32_t rgb, int tolerance = 2);

} // namespace tandrel::test

namespace tandrel::test {

// Opens a plain SDL OpenGL window of the given size (no Application) with the
// OpenGL 1.2 to 2.1 entry points bound, for tests of drawables that need a
// real context. Call requireDisplay() first.
void openTestWindow(int width, int height);

} // namespace tandrel::test
