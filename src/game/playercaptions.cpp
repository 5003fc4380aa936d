#include "game/playercaptions.hpp"

#include "framework/ui/i18n.hpp"

#include <algorithm>

namespace tandrel {

namespace {

// The inverse of PlayerCaptions::index.
Player playerAt(std::size_t index) { return index == 0 ? Player{} : Player{static_cast<computer::Level>(index - 1)}; }

// The language files translate "person" and the level names as keys.
const char* keyOf(Player player) { return player ? computer::levelName(*player) : "person"; }

} // namespace

PlayerCaptions::PlayerCaptions(Font& font) {
    const std::string separator = " \u00B7 ";
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
    for (const auto* row : {&plain, &keyed[0], &keyed[1], &keyed[2], &keyed[3], &keyed[4]})
        for (const std::string& caption : *row) {
            longest = std::max(longest, caption.size());
            widest = std::max(widest, font.textWidth(caption));
        }
}

} // namespace tandrel
