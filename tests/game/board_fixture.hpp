#pragma once

// What the board tests share: a font that logs the texts it draws into the
// recording table's log, and grids written the way they read on screen.

#include "framework/ui/font.hpp"
#include "game/board.hpp"
#include "support/recorder.hpp"

#include <array>
#include <cstdint>
#include <string>

namespace tandrel::test {

// Each character is 10 pixels wide; a drawn text shows up in the log as a
// call named "text <the text>".
class RecordingFont : public Font {
public:
    explicit RecordingFont(float height) : Font(height) {}
    void draw(const std::string& text) override { calls().push_back(Call{"text " + text, {}}); }
    float textWidth(const std::string& text) override { return 10.0f * static_cast<float>(text.size()); }
};

// rows[y][x], row 0 at the top as on screen.
using Rows = std::array<std::array<std::uint32_t, 4>, 4>;

inline void setRows(Board& board, const Rows& rows) {
    for (std::uint32_t y = 0; y < 4; ++y)
        for (std::uint32_t x = 0; x < 4; ++x) board.grid.set(rows[y][x], x, y);
}

inline Rows rowsOf(const Board& board) {
    Rows rows{};
    for (std::uint32_t y = 0; y < 4; ++y)
        for (std::uint32_t x = 0; x < 4; ++x) rows[y][x] = board.grid(x, y);
    return rows;
}

// A board on the two fonts the game uses, 27 and 16 pixels high.
struct BoardFixture {
    RecordingFont large{27};
    RecordingFont small{16};
    Board board{large, small};
};

} // namespace tandrel::test
