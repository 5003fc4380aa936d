#include "game/playercaptions.hpp"

#include "framework/ui/i18n.hpp"

#include <algorithm>
#include <charconv>

namespace tandrel {

namespace {

// The inverse of PlayerCaptions::index.
Player playerAt(std::size_t index) { return index == 0 ? Player{} : Player{static_cast<computer::Level>(index - 1)}; }

// The language files translate "person" and the level names as keys.
const char* keyOf(Player player) { return player ? computer::levelName(*player) : "person"; }

} // namespace

PlayerCaptions::PlayerCaptions(Font& font) : bestLabel(localizeFormat("_Best_: ")), separator(" \u00B7 ") {
    for (std::size_t now = 0; now < choices; ++now) {
        if (now != 0) plain[now] = localizeFormat("_Computer_ (_%s_)", keyOf(playerAt(now)));
        for (std::size_t chosen = 0; chosen < choices; ++chosen) {
            std::string& caption = keyed[now][chosen];
            if (now != chosen)
                caption =
                    (now != 0 ? plain[now] + separator : "") + localizeFormat("_next_: _%s_", keyOf(playerAt(chosen)));
            else
                caption = now != 0 ? plain[now] + separator + "F2" : localizeFormat("F2: _play the computer_");
        }
    }
    // While player 2's line names a choice for the next match, that takes
    // the room of the best score. No board scores more than seven digits.
    std::string line;
    const auto measure = [&](std::optional<std::int64_t> best, const std::string& caption) {
        compose(line, best, caption);
        longest = std::max(longest, line.size());
        widest = std::max(widest, font.textWidth(line));
    };
    for (std::size_t now = 0; now < choices; ++now) {
        measure(9999999, plain[now]);
        for (std::size_t chosen = 0; chosen < choices; ++chosen)
            measure(now == chosen ? std::optional<std::int64_t>(9999999) : std::nullopt, keyed[now][chosen]);
    }
}

void PlayerCaptions::compose(std::string& line, std::optional<std::int64_t> best, const std::string& caption) const {
    line.clear();
    if (best) {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, *best).ptr;
        line.append(bestLabel).append(digits, end);
        if (!caption.empty()) line.append(separator);
    }
    line.append(caption);
}

} // namespace tandrel
