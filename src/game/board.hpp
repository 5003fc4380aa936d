#pragma once

#include "framework/core/drawable.hpp"
#include "framework/ui/font.hpp"
#include "framework/ui/textline.hpp"
#include "game/boardarray.hpp"
#include "game/pool.hpp"
#include "game/random.hpp"
#include "game/tile.hpp"
#include "support/core/compound.hpp"
#include "support/image/color.hpp"
#include "support/math/vector.hpp"

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>

namespace tandrel {

enum class BoardState : std::int32_t {
    Idle = 0,      // waiting for a move; the grid is drawn as it is
    Animating = 1, // the last move's tiles are sliding; moves are ignored
    Decided = 2,   // both players are out and the owner has decided the match
};

using FreeCells = Pool<Compound<std::uint32_t, std::uint32_t>, 16>;
using LineValues = std::array<std::uint32_t, 4>;

// The value of a newly spawned tile: 2 nine times in ten, otherwise 4.
std::uint32_t randomTileValue();
std::uint32_t randomTileValue(Mt19937& generator);

// One player's game: the grid, the score, the end of this player's game, and
// the drawing and animation of all of it.
class Board : public Drawable {
public:
    // The fonts are the owner's and must outlive the board.
    Board(Font& largeFont, Font& smallFont);

    // Lower-left corner of the board's 400 x 450 area, in window coordinates.
    Vector2f position{0, 0};
    float cellSize = 100.0f;
    BoardArray grid;
    // One record per tile that lay on the grid before the last move.
    Pool<Tile, 16> movingTiles;
    TextLine largeText;
    Font& largeFont;
    TextLine smallText;
    Font& smallFont;
    BoardState state = BoardState::Idle;
    bool gameOver = false;
    bool winner = false;
    std::int32_t score = 0;
    // Moves of this game that changed the grid.
    std::int32_t moves = 0;
    // Records of movingTiles whose slide has not been counted as finished.
    std::int32_t pendingAnimations = 0;
    // Where the new tiles' values and cells are drawn from: the process's
    // generator unless the owner gives the board one of its own (a network
    // match, whose two programs must draw alike).
    Mt19937* generator = nullptr;
    std::unordered_map<std::uint32_t, Color4f> tileColors;
    std::unordered_map<std::uint32_t, Color4f> textColors;

    virtual Vector2f cellCenter(std::uint32_t x, std::uint32_t y) const;
    // Centre of the cell at place `index` of line `line` as seen moving in `dir`.
    virtual Vector2f lineCellCenter(std::uint32_t line, std::uint32_t index, Direction dir) const;
    // Ignored while the last move is still sliding.
    virtual void move(Direction dir);
    virtual LineValues lineValues(const CellLine& line) const;
    // Column by column from the left, top to bottom within a column.
    virtual FreeCells freeCells() const;
    // On a full grid this player's game ends instead.
    virtual void addTile(std::uint32_t value);
    virtual void addRandomTile();
    virtual void reset(std::uint32_t first, std::uint32_t second);
    virtual void fill(Color4f color);
    // A line under the result once the match is decided (how a person fares
    // against the computer); empty for none. Its glyphs are made here, not
    // while it is drawn.
    virtual void setResultNote(const std::string& note);
    const std::string& resultNote() const { return note; }
    void draw(double dt) override;
    virtual void setTileColor(std::uint32_t value) const;
    virtual Color4f textColor(std::uint32_t value) const;
    virtual void drawTiles(double dt);
    virtual void drawAnimation(double dt);
    virtual void drawTile(Tile& tile, double dt);
    void free() override;
    // While its tiles slide.
    bool animating() const override;

private:
    void drawCaption(TextLine& line, Color4f color, Vector2f anchor, const std::string& caption, double dt);

    // The captions cannot change once the language file is loaded, so they are
    // localised once; the score text is rebuilt only when the score changes.
    // Together they keep a frame free of allocations.
    std::string winCaption, loseCaption, gameOverCaption, restartCaption, waitCaption;
    std::string note;
    std::string scoreText;
    std::int32_t scoreTextFor;
    std::string numberText;
};

} // namespace tandrel
