#pragma once

#include "framework/core/application.hpp"
#include "framework/ui/ftfont.hpp"
#include "game/board.hpp"
#include "game/gamepad.hpp"

#include <memory>

namespace tandrel {

// The game: two boards side by side in one 2D layer, player 1 on a, d, w, s
// and the first gamepad, player 2 on the arrow keys and the second gamepad.
// When both players are out the higher score wins, and Enter or a gamepad
// button deals a new match.
class GameApp : public Application {
    // Declared first so that they outlive the boards that draw with them.
    std::unique_ptr<FreeTypeFont> largeFont;
    std::unique_ptr<FreeTypeFont> smallFont;

public:
    static constexpr const char* fontPath = "./data/fonts/clearsans/ClearSans-Bold.ttf";

    explicit GameApp(bool fullscreen = false);

    Layer* layer = nullptr;
    std::unique_ptr<Board> leftBoard;
    std::unique_ptr<Board> rightBoard;
    // Set by decideWinner; only then does Enter start a new match.
    bool matchOver = false;
    Gamepads gamepads;

    void onKeyDown() override;
    void onJoyButtonDown() override;
    void onJoyAxisMotion() override;
    void onJoyHatMotion() override;
    // Every move a player asks for, from keys or gamepad: board 0 is the left.
    virtual void steer(std::size_t board, Direction dir);
    // Enter: a new match once the match is decided.
    virtual void confirm();
    void onUpdate() override;
    virtual void decideWinner();
    virtual void restart();
};

} // namespace tandrel
