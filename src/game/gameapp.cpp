#include "game/gameapp.hpp"

#include "binding/opengl/gl.hpp"

#include <optional>

namespace tandrel {

namespace {

constexpr std::int32_t keyReturn = SDLK_RETURN;

// SDL 1.2 reports letter keys by their lower-case symbols whatever the Shift
// or Caps Lock state, so matching symbols is enough.
std::optional<Direction> leftPlayerDirection(std::int32_t key) {
    switch (key) {
    case SDLK_a: return Direction::Left;
    case SDLK_d: return Direction::Right;
    case SDLK_w: return Direction::Up;
    case SDLK_s: return Direction::Down;
    default: return std::nullopt;
    }
}

std::optional<Direction> rightPlayerDirection(std::int32_t key) {
    switch (key) {
    case SDLK_LEFT: return Direction::Left;
    case SDLK_RIGHT: return Direction::Right;
    case SDLK_UP: return Direction::Up;
    case SDLK_DOWN: return Direction::Down;
    default: return std::nullopt;
    }
}

} // namespace

GameApp::GameApp(bool fullscreen)
    : Application(810, 450, "Tandrel", 12, {.fullscreen = fullscreen, .fullscreenKeys = true, .requireDisplay = true}) {
    clearColor = Color4f(0xBBADA0);
    // Everything is drawn in painter's order, later over earlier.
    gl.glDisable(GL_LIGHTING);
    gl.glDisable(GL_DEPTH_TEST);
    gl.glDisable(GL_CULL_FACE);
    layer = &addLayer2D(0);
    // The scene keeps its geometry and fills whatever window it is given.
    layer->setLogicalSize(810, 450);
    largeFont = std::make_unique<FreeTypeFont>(fontPath, 27);
    smallFont = std::make_unique<FreeTypeFont>(fontPath, 16);
    leftBoard = std::make_unique<Board>(*largeFont, *smallFont);
    leftBoard->position = Vector2f(0, 0);
    layer->addDrawable(*leftBoard);
    rightBoard = std::make_unique<Board>(*largeFont, *smallFont);
    rightBoard->position = Vector2f(410, 0);
    layer->addDrawable(*rightBoard);
    restart();
}

void GameApp::onKeyDown() {
    Application::onKeyDown();
    const std::int32_t key = eventManager->eventKey;
    if (key == keyReturn && !fullscreenShortcut()) confirm();
    if (auto dir = leftPlayerDirection(key)) steer(0, *dir);
    if (auto dir = rightPlayerDirection(key)) steer(1, *dir);
}

// Any button: SDL 1.2 numbers a pad's buttons as its driver does, so no number
// names a face button or Start on every pad.
void GameApp::onJoyButtonDown() {
    Application::onJoyButtonDown();
    confirm();
}

void GameApp::onJoyAxisMotion() {
    Application::onJoyAxisMotion();
    if (auto move = gamepads.axisMotion(*eventManager)) steer(move->board, move->dir);
}

void GameApp::onJoyHatMotion() {
    Application::onJoyHatMotion();
    if (auto move = gamepads.hatMotion(*eventManager)) steer(move->board, move->dir);
}

void GameApp::steer(std::size_t board, Direction dir) {
    Board& steered = board == 0 ? *leftBoard : *rightBoard;
    if (!steered.gameOver) steered.move(dir);
}

void GameApp::confirm() {
    // matchOver is set only when a frame has decided the match, so an Enter
    // queued behind the last move of the match does nothing.
    if (matchOver) restart();
}

void GameApp::onUpdate() {
    Application::onUpdate();
    if (leftBoard->gameOver && rightBoard->gameOver) decideWinner();
}

void GameApp::decideWinner() {
    leftBoard->state = BoardState::Decided;
    rightBoard->state = BoardState::Decided;
    // A tie makes both players winners; reset is what clears the flags.
    if (leftBoard->score >= rightBoard->score) leftBoard->winner = true;
    if (rightBoard->score >= leftBoard->score) rightBoard->winner = true;
    matchOver = true;
}

void GameApp::restart() {
    matchOver = false;
    // Both players open with the same two values, each on cells of its own.
    const std::uint32_t first = randomTileValue();
    const std::uint32_t second = randomTileValue();
    leftBoard->reset(first, second);
    rightBoard->reset(first, second);
}

} // namespace tandrel
