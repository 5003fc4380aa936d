#pragma once

#include "framework/ui/font.hpp"
#include "game/player.hpp"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace tandrel {

// The line under a board's grid that tells who steers it, localised once for
// every combination so that choosing one mid-match allocates nothing.
class PlayerCaptions {
public:
    // Measures every caption with the font, which makes its glyphs now.
    explicit PlayerCaptions(Font& font);

    // A computer's board says so with its level; a person's says nothing.
    const std::string& of(Player now) const { return plain[index(now)]; }
    // Player 2's board also shows the key that chooses its player and, until
    // the next match, what it has chosen.
    const std::string& withKey(Player now, Player chosen) const { return keyed[index(now)][index(chosen)]; }

    // The whole line: the player's best score so far, when there is one, then
    // the caption. Allocates nothing once `line` has room for `longest`. A
    // line that names a choice for the next match has no room for a best.
    void compose(std::string& line, std::optional<std::int64_t> best, const std::string& caption) const;

    // Of a whole line, with the longest best score a board can reach.
    std::size_t longest = 0;
    // In pixels of the measuring font.
    float widest = 0;

private:
    static constexpr std::size_t choices = 5;
    static std::size_t index(Player player) { return player ? 1 + static_cast<std::size_t>(*player) : 0; }

    std::string bestLabel;
    std::string separator;
    std::array<std::string, choices> plain;
    std::array<std::array<std::string, choices>, choices> keyed;
};

} // namespace tandrel
