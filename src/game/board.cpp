#include "game/board.hpp"

#include "binding/opengl/gl.hpp"
#include "framework/ui/i18n.hpp"

#include <algorithm>
#include <charconv>
#include <limits>

namespace tandrel {

namespace {

constexpr std::uint32_t fallbackTileColor = 0x25BB64;
constexpr std::uint32_t fallbackTextColor = 0xF9F6F2;
constexpr float boardWidth = 400;
constexpr float boardHeight = 450;
constexpr float overlayAlpha = 0.75f;
const Color4f white(1, 1, 1, 1);
const Color4f gold(0xEFAD3F);

Color4f translucent(std::uint32_t rgb, float alpha) {
    Color4f c(rgb);
    c.a() = alpha;
    return c;
}

} // namespace

std::uint32_t randomTileValue() { return static_cast<std::uint32_t>(dice({90, 10}) + 1) * 2; }

std::uint32_t randomTileValue(Mt19937& generator) {
    return static_cast<std::uint32_t>(dice(generator, {90, 10}) + 1) * 2;
}

Board::Board(Font& largeFont, Font& smallFont)
    : largeText(largeFont, "0", Vector2f(0, 0)),
      largeFont(largeFont),
      smallText(smallFont, "", Vector2f(0, 0)),
      smallFont(smallFont),
      tileColors{{0, Color4f(0xCDC0B4)},   {2, Color4f(0xEEE4DA)},    {4, Color4f(0xEDE0C8)},
                 {8, Color4f(0xF2B179)},   {16, Color4f(0xF59563)},   {32, Color4f(0xF67C5F)},
                 {64, Color4f(0xF65E3B)},  {128, Color4f(0xEDCF72)},  {256, Color4f(0xEDCC61)},
                 {512, Color4f(0xEDC850)}, {1024, Color4f(0xEDC53F)}, {2048, Color4f(0xEDC22E)},
                 {4096, Color4f(0x5FDB93)}},
      textColors{{2, Color4f(0x776E65)}, {4, Color4f(0x776E65)}},
      winCaption(localizeFormat("_You win!_")),
      loseCaption(localizeFormat("_You lose!_")),
      gameOverCaption(localizeFormat("_Game Over_")),
      restartCaption(localizeFormat("_Press <Enter> to restart_")),
      waitCaption(localizeFormat("_Wait other player to finish_")),
      scoreText(localizeFormat("_Score_: %s", score)),
      scoreTextFor(score) {
    largeText.alignment = Alignment::Center;
    smallText.alignment = Alignment::Center;
    // Measuring creates the glyphs of translated captions now, not mid-match.
    // The text lines copy each caption into their own string: giving those
    // room for the longest one keeps the first overlay or a long score from
    // growing them in a frame.
    std::size_t longest = scoreText.size() + std::numeric_limits<std::int32_t>::digits10;
    for (const std::string* caption : {&winCaption, &loseCaption, &gameOverCaption, &scoreText}) {
        largeFont.textWidth(*caption);
        longest = std::max(longest, caption->size());
    }
    largeText.text.reserve(longest);
    longest = 0;
    for (const std::string* caption : {&restartCaption, &waitCaption}) {
        smallFont.textWidth(*caption);
        longest = std::max(longest, caption->size());
    }
    smallText.text.reserve(longest);
    numberText.reserve(16);
}

Vector2f Board::cellCenter(std::uint32_t x, std::uint32_t y) const {
    const Vector2f half(0.5f * cellSize, 0.5f * cellSize);
    const Vector2f offset(static_cast<float>(x) * cellSize, static_cast<float>(3 - y) * cellSize);
    return position + Vector2f(0, 50) + half + offset;
}

Vector2f Board::lineCellCenter(std::uint32_t line, std::uint32_t index, Direction dir) const {
    switch (dir) {
    case Direction::Left: return cellCenter(index, line);
    case Direction::Right: return cellCenter(3 - index, line);
    case Direction::Up: return cellCenter(line, index);
    case Direction::Down: break;
    }
    return cellCenter(line, 3 - index);
}

void Board::move(Direction dir) {
    if (state == BoardState::Animating) return;
    bool changed = false;
    pendingAnimations = 0;
    // Records left from a slide that was never shown (the owner decided the
    // match mid-slide, or ended it by writing the state) would fill the pool;
    // records dropped from a full pool are never counted as stopped, and the
    // board would stay Animating for good.
    movingTiles.clear();
    for (std::uint32_t i = 0; i < 4; ++i) {
        CellLine refs = grid.line(i, dir);
        const LineValues in = lineValues(refs);
        // One lookup per place rather than two per tile.
        const std::array<Vector2f, 4> centres{lineCellCenter(i, 0, dir), lineCellCenter(i, 1, dir),
                                              lineCellCenter(i, 2, dir), lineCellCenter(i, 3, dir)};
        LineValues out{};
        // The place the next tile lands on, counted from the edge.
        std::uint32_t k = 0;
        for (std::uint32_t j = 0; j < 4; ++j) {
            const std::uint32_t v = in[j];
            if (v == 0) continue;
            // A merged tile is passed over at once, so it merges no further.
            const bool merge = v == out[k];
            if (!merge && out[k] != 0) ++k;
            // Either doubles the tile at k or fills the empty place k.
            out[k] += v;
            if (merge) score += static_cast<std::int32_t>(out[k]);
            movingTiles.add(Tile(v, centres[j], centres[k]));
            ++pendingAnimations;
            changed = changed || merge || k != j;
            k += merge;
        }
        for (std::uint32_t p = 0; p < 4; ++p) refs[p] = out[p];
    }
    if (changed) {
        ++moves;
        addRandomTile();
    } else if (freeCells().count == 0)
        gameOver = true; // only the pressed direction counts
    state = BoardState::Animating;
}

LineValues Board::lineValues(const CellLine& line) const { return {line[0], line[1], line[2], line[3]}; }

FreeCells Board::freeCells() const {
    FreeCells free;
    for (std::uint32_t x = 0; x < 4; ++x)
        for (std::uint32_t y = 0; y < 4; ++y)
            if (grid(x, y) == 0) free.add({x, y});
    return free;
}

void Board::addTile(std::uint32_t value) {
    const FreeCells free = freeCells();
    if (free.count == 0) {
        gameOver = true;
        return;
    }
    const auto cell = free[generator ? uniform(*generator, 0u, free.count) : uniform(0u, free.count)];
    grid.set(value, cell.first, cell.second);
}

void Board::addRandomTile() { addTile(generator ? randomTileValue(*generator) : randomTileValue()); }

void Board::reset(std::uint32_t first, std::uint32_t second) {
    gameOver = false;
    winner = false;
    score = 0;
    moves = 0;
    note.clear();
    state = BoardState::Idle;
    movingTiles.clear();
    grid.clear();
    addTile(first);
    addTile(second);
}

void Board::fill(Color4f color) {
    gl.glPushMatrix();
    gl.glLoadIdentity();
    gl.glTranslatef(position.x, position.y, 0);
    gl.glColor4f(color.r(), color.g(), color.b(), color.a());
    gl.glBegin(GL_QUADS);
    gl.glVertex2f(0, 0);
    gl.glVertex2f(boardWidth, 0);
    gl.glVertex2f(boardWidth, boardHeight);
    gl.glVertex2f(0, boardHeight);
    gl.glEnd();
    gl.glPopMatrix();
}

void Board::setResultNote(const std::string& text) {
    note = text;
    smallFont.textWidth(note);
    smallText.text.reserve(note.size());
}

void Board::draw(double dt) {
    if (state == BoardState::Animating)
        drawAnimation(dt);
    else
        drawTiles(dt);

    // The frame in which the last record arrives is still drawn as animation.
    if (state == BoardState::Animating && pendingAnimations == 0) {
        state = BoardState::Idle;
        movingTiles.clear();
    }

    if (gameOver) {
        const Vector2f headline = position + Vector2f(200, 260);
        const Vector2f second = position + Vector2f(200, 225);
        if (state != BoardState::Decided) {
            fill(translucent(0x000000, overlayAlpha));
            drawCaption(largeText, white, headline, gameOverCaption, dt);
            drawCaption(smallText, Color4f(0xF2B179), second, waitCaption, dt);
        } else {
            const Color4f captions = winner ? white : gold;
            fill(translucent(winner ? 0xEFAD3F : 0x000000, overlayAlpha));
            drawCaption(largeText, captions, headline, winner ? winCaption : loseCaption, dt);
            drawCaption(smallText, captions, second, restartCaption, dt);
            if (!note.empty()) drawCaption(smallText, captions, position + Vector2f(200, 195), note, dt);
        }
    }

    // Last, so that it stays fully bright over an overlay.
    if (scoreTextFor != score) {
        scoreText = localizeFormat("_Score_: %s", score);
        scoreTextFor = score;
    }
    drawCaption(largeText, white, position + Vector2f(200, 15), scoreText, dt);
}

void Board::drawCaption(TextLine& line, Color4f color, Vector2f anchor, const std::string& caption, double dt) {
    line.color = color;
    line.setPosition(anchor);
    line.setText(caption);
    line.draw(dt);
}

void Board::setTileColor(std::uint32_t value) const {
    const auto found = tileColors.find(value);
    const Color4f c = found != tileColors.end() ? found->second : Color4f(fallbackTileColor);
    gl.glColor4f(c.r(), c.g(), c.b(), c.a());
}

Color4f Board::textColor(std::uint32_t value) const {
    const auto found = textColors.find(value);
    return found != textColors.end() ? found->second : Color4f(fallbackTextColor);
}

void Board::drawTiles(double dt) {
    for (std::uint32_t x = 0; x < 4; ++x)
        for (std::uint32_t y = 0; y < 4; ++y) {
            Tile tile(grid(x, y), cellCenter(x, y));
            drawTile(tile, dt);
        }
}

void Board::drawAnimation(double dt) {
    // The grid already holds the move's result; only the sliding records show.
    for (std::uint32_t x = 0; x < 4; ++x)
        for (std::uint32_t y = 0; y < 4; ++y) {
            Tile empty(cellCenter(x, y));
            drawTile(empty, dt);
        }
    for (std::uint32_t p = 0; p < movingTiles.count; ++p) {
        Tile& tile = movingTiles.items[p];
        drawTile(tile, dt);
        // Counted once, in the first frame in which it has stopped.
        if (!tile.moving && tile.pending) {
            --pendingAnimations;
            tile.pending = false;
        }
    }
}

void Board::drawTile(Tile& tile, double dt) {
    setTileColor(tile.value);
    tile.draw(dt);
    if (tile.value == 0) return;
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, tile.value).ptr;
    numberText.assign(digits, end);
    largeText.color = textColor(tile.value);
    largeText.setPosition(tile.position + Vector2f(0, -0.5f * largeFont.height));
    largeText.setText(numberText);
    largeText.draw(dt);
}

void Board::free() {}

bool Board::animating() const { return state == BoardState::Animating; }

} // namespace tandrel
