#include "game/netpanel.hpp"

#include "binding/opengl/gl.hpp"
#include "binding/sdl/sdl.hpp"
#include "framework/ui/i18n.hpp"

namespace tandrel {

namespace {

constexpr Vector2f corner(105, 115);
constexpr float width = 600;
constexpr float height = 220;
enum Line : std::size_t { Title, JoinHelp, HostHelp, CloseHelp, Field, Status };
// Longer than any name or address a person types.
constexpr std::size_t longestAddress = 255;

} // namespace

NetPanel::NetPanel(Font& font)
    : lines{TextLine(font, localizeFormat("_Network match_"), {}),
            TextLine(font, localizeFormat("_Type an address, Enter joins_"), {}),
            TextLine(font, localizeFormat("F3: _host a match_"), {}),
            TextLine(font, localizeFormat("Escape: _back to the game_"), {}),
            TextLine(font, "", {}),
            TextLine(font, "", {})} {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        lines[i].alignment = Alignment::Center;
        lines[i].color = i == Title ? Color4f(0xEFAD3F) : i == Status ? Color4f(0xF2B179) : Color4f(1, 1, 1, 1);
        lines[i].setPosition(corner + Vector2f(width / 2, height - 35 - 32 * static_cast<float>(i)));
    }
}

void NetPanel::show(const std::string& address) {
    open = true;
    typed = address;
    lines[Field].setText(typed + "_");
    setStatus("");
}

NetPanel::Action NetPanel::key(std::int32_t key, std::uint32_t character) {
    switch (key) {
    case SDLK_ESCAPE: return Action::Close;
    case SDLK_F3: return Action::Host;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return typed.empty() ? Action::None : Action::Join;
    case SDLK_BACKSPACE:
        if (!typed.empty()) typed.pop_back();
        break;
    default:
        // Names and addresses are plain ASCII; anything else is no address.
        if (character > ' ' && character < 0x7F && typed.size() < longestAddress)
            typed.push_back(static_cast<char>(character));
    }
    lines[Field].setText(typed + "_");
    return Action::None;
}

void NetPanel::setStatus(const std::string& text) { lines[Status].setText(text); }

void NetPanel::draw(double dt) {
    if (!open) return;
    gl.glColor4f(0, 0, 0, 0.85f);
    gl.glBegin(GL_QUADS);
    gl.glVertex2f(corner.x, corner.y);
    gl.glVertex2f(corner.x + width, corner.y);
    gl.glVertex2f(corner.x + width, corner.y + height);
    gl.glVertex2f(corner.x, corner.y + height);
    gl.glEnd();
    for (TextLine& line : lines) line.draw(dt);
}

} // namespace tandrel
