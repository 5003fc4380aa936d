#pragma once

#include "framework/core/drawable.hpp"
#include "framework/ui/font.hpp"
#include "framework/ui/textline.hpp"
#include "support/math/vector.hpp"

#include <array>
#include <string>

namespace tandrel {

// What the network is doing, over the upper half of a board: a dimmed board
// under a headline and up to three lines. Nothing shows while the headline
// is empty.
class Notice : public Drawable {
public:
    static constexpr std::size_t lineCount = 4;

    // The font is the owner's and must outlive the notice.
    explicit Notice(Font& font);

    // Lower-left corner of the board it covers.
    Vector2f position{0, 0};
    // Makes the glyphs now, and only when a line changed.
    void show(const std::array<std::string, lineCount>& text);
    void draw(double dt) override;
    void free() override {}

private:
    std::array<TextLine, lineCount> lines;
};

} // namespace tandrel
