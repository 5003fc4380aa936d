#pragma once

#include "framework/core/application.hpp"
#include "framework/ui/ftfont.hpp"
#include "game/board.hpp"

#include <memory>

namespace tandrel {

// The game: two boards side by side in one 2D layer, player 1 on a, d, w, s
// and player 2 on the arrow keys. When both players are out the higher score
// wins, and Enter deals a new match.
class GameApp : public Application {
    // Declared first so that they outlive the boards that draw with them.
    std::unique_ptr<FreeTypeFont> largeFont;
    std::unique_ptr<FreeTypeFont> smallFont;

public:
    static constexpr const char* fontPath = "./data/fonts/clearsans/ClearSans-Bold.ttf";

    GameApp();

    Layer* layer = nullptr;
    std::unique_ptr<Board> leftBoard;
    std::unique_ptr<Board> rightBoard;
    // Set by decideWinner; only then does Enter start a new match.
    bool matchOver = false;

    void onKeyDown() override;
    void onUpdate() override;
    virtual void decideWinner();
    virtual void restart();
};

} // namespace tandrel
