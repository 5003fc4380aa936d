#include "game/gameapp.hpp"

#include "binding/opengl/gl.hpp"
#include "binding/sdl/sdl.hpp"
#include "framework/ui/i18n.hpp"
#include "game/options.hpp"

#include <algorithm>
#include <ctime>
#include <optional>
#include <utility>

namespace tandrel {

namespace {

constexpr std::int32_t keyReturn = SDLK_RETURN;
// Shown on player 2's board and in --help; F11 is the full screen's.
constexpr std::int32_t keyChoosePlayer2 = SDLK_F2;
// Shown on player 1's board and in --help.
constexpr std::int32_t keyNetworkPanel = SDLK_F3;

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

std::uint32_t largestTile(const Board& board) {
    std::uint32_t largest = 0;
    for (std::uint32_t x = 0; x < 4; ++x)
        for (std::uint32_t y = 0; y < 4; ++y) largest = std::max(largest, board.grid(x, y));
    return largest;
}

std::int64_t progressOf(const Board& board) { return std::int64_t{board.moves} + board.gameOver; }

} // namespace

GameApp::GameApp(std::array<Player, 2> players, bool fullscreen, memory::Keeper* keeper,
                 const memory::KeptMatch* resumed)
    : Application(810, 450, "Tandrel", 12,
                  {.fullscreen = fullscreen, .fullscreenKeys = true, .requireDisplay = true, .framesOnDemand = true}),
      players(players),
      chosenPlayer2(players[1]),
      keeper(keeper),
      worker([this] { wake(); }) {
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
    captionFont = std::make_unique<FreeTypeFont>(fontPath, captionFontSize);
    leftBoard = std::make_unique<Board>(*largeFont, *smallFont);
    leftBoard->position = Vector2f(0, 0);
    layer->addDrawable(*leftBoard);
    rightBoard = std::make_unique<Board>(*largeFont, *smallFont);
    rightBoard->position = Vector2f(410, 0);
    layer->addDrawable(*rightBoard);
    captions = std::make_unique<PlayerCaptions>(*captionFont);
    networkHint = localizeFormat("F3: _Network match_");
    for (std::size_t i = 0; i < 2; ++i) {
        // Under the tiles' lowest row, above the score.
        playerLines[i] = std::make_unique<TextLine>(*captionFont, "", Vector2f(200 + 410 * float(i), 43));
        playerLines[i]->alignment = Alignment::Center;
        playerLines[i]->color = Color4f(1, 1, 1, 1);
        // Room for every caption, so that choosing one allocates nothing.
        playerLines[i]->text.reserve(captions->longest + networkHint.size());
        lineTexts[i].reserve(captions->longest + networkHint.size());
        layer->addDrawable(*playerLines[i]);
    }
    // Over both boards and their captions.
    notice = std::make_unique<Notice>(*smallFont);
    layer->addDrawable(*notice);
    panel = std::make_unique<NetPanel>(*smallFont);
    layer->addDrawable(*panel);
    computers[0] = std::make_unique<ComputerPlayer>(worker, 0, *leftBoard);
    computers[1] = std::make_unique<ComputerPlayer>(worker, 1, *rightBoard);
    if (keeper) {
        records = keeper->firstSummary();
        lastAddress = keeper->lastAddress();
        // The tally of a match just decided comes from the keeper's thread.
        keeper->setWake([this] { wake(); });
    }
    if (resumed)
        resume(*resumed);
    else
        restart();
}

GameApp::~GameApp() {
    if (keeper) keeper->setWake({});
    // The session's thread wakes this game until it is gone.
    network.reset();
}

void GameApp::onKeyDown() {
    if (panel->open) return panelKey();
    Application::onKeyDown();
    const std::int32_t key = eventManager->eventKey;
    if (key == keyNetworkPanel) openPanel("");
    if (key == keyChoosePlayer2) choosePlayer2();
    if (key == keyReturn && !fullscreenShortcut()) confirm();
    if (auto dir = leftPlayerDirection(key)) steer(0, *dir);
    if (auto dir = rightPlayerDirection(key)) steer(1, *dir);
}

void GameApp::onKeyUp() {
    if (eventManager->eventKey == SDLK_ESCAPE && std::exchange(escapeClosedPanel, false)) return;
    Application::onKeyUp();
}

void GameApp::openPanel(const std::string& status) {
    // Typed characters are needed only here.
    sdl.SDL_EnableUNICODE(1);
    panel->show(lastAddress);
    panel->setStatus(status);
}

void GameApp::panelKey() {
    const NetPanel::Action action = panel->key(eventManager->eventKey, eventManager->eventCharacter);
    if (action == NetPanel::Action::None) return;
    if (action == NetPanel::Action::Join) {
        lastAddress = panel->address();
        const auto target = net::parseJoinTarget(lastAddress);
        if (!target) return panel->setStatus(localizeFormat("_Not an address_: ") + lastAddress);
        if (keeper) keeper->rememberAddress(lastAddress);
        join(*target);
    } else if (action == NetPanel::Action::Host) {
        try {
            host(net::defaultPort);
        } catch (const net::NetError& e) {
            return panel->setStatus(e.what());
        }
    }
    escapeClosedPanel = eventManager->eventKey == SDLK_ESCAPE;
    panel->open = false;
    sdl.SDL_EnableUNICODE(0);
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
    // The panel has the keyboard; a gamepad waits with the game behind it.
    if (panel->open) return;
    // Either set of keys and any gamepad steer this side's own board.
    if (network) return network->steer(dir);
    // A board the computer steers ignores its player's keys and gamepad.
    if (players[board]) return;
    Board& steered = board == 0 ? *leftBoard : *rightBoard;
    if (!steered.gameOver) steered.move(dir);
}

void GameApp::confirm() {
    // matchOver is set only when a frame has decided the match, so an Enter
    // queued behind the last move of the match does nothing.
    if (panel->open) return;
    if (network)
        network->confirm(matchOver);
    else if (matchOver)
        restart();
}

void GameApp::onUpdate() {
    Application::onUpdate();
    if (network) followNetwork();
    // Once every person is out nobody needs to follow the computer's moves;
    // a match without a person is one to watch.
    const bool somePerson = !players[0] || !players[1];
    const bool personPlays = (!players[0] && !leftBoard->gameOver) || (!players[1] && !rightBoard->gameOver);
    const bool hurry = somePerson && !personPlays;
    for (auto& computer : computers) {
        computer->update(hurry);
        // The worker wakes the loop when a move is found; the end of the
        // pause is a frame of its own.
        if (const double left = computer->pauseLeft(); left > 0) requestFrame(left);
    }
    if (leftBoard->gameOver && rightBoard->gameOver) {
        const bool decidedNow = !matchOver;
        decideWinner();
        if (decidedNow) recordMatch();
    } else {
        keepMatch();
    }
    if (keeper && keeper->takeSummary(records)) {
        showPlayers();
        showTally();
    }
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
    matchId = memory::newMatchId();
    keptProgress = 0;
    // Both players open with the same two values, each on cells of its own.
    const std::uint32_t first = randomTileValue();
    const std::uint32_t second = randomTileValue();
    leftBoard->reset(first, second);
    rightBoard->reset(first, second);
    players[1] = chosenPlayer2;
    for (std::size_t i = 0; i < 2; ++i) computers[i]->steer(players[i]);
    showPlayers();
}

void GameApp::choosePlayer2() {
    // Both players of a network match are persons.
    if (network) return;
    chosenPlayer2 = nextPlayer(chosenPlayer2);
    // Nothing is left to play in this match, so the board shows the choice
    // as its player at once; the computer takes over with the next match.
    if (leftBoard->gameOver && rightBoard->gameOver) players[1] = chosenPlayer2;
    showPlayers();
}

void GameApp::resume(const memory::KeptMatch& match) {
    matchOver = false;
    matchId = match.id;
    for (std::size_t i = 0; i < 2; ++i) {
        const memory::KeptBoard& kept = match.boards[i];
        Board& board = i == 0 ? *leftBoard : *rightBoard;
        // A move whose slide was still drawing is kept as played: the board
        // stands at rest on its result.
        board.state = BoardState::Idle;
        board.movingTiles.clear();
        board.winner = false;
        for (std::uint32_t cell = 0; cell < 16; ++cell) board.grid.set(kept.cells[cell], cell % 4, cell / 4);
        board.score = kept.score;
        board.moves = kept.moves;
        board.gameOver = kept.over;
        players[i] = memory::playerOf(kept.player);
    }
    keptProgress = progressOf(*leftBoard) + progressOf(*rightBoard);
    chosenPlayer2 = players[1];
    restoreGenerator(Mt19937(match.generator, match.generatorPosition));
    for (std::size_t i = 0; i < 2; ++i) computers[i]->steer(players[i]);
    showPlayers();
}

memory::KeptMatch GameApp::snapshot() const {
    memory::KeptMatch match;
    match.id = matchId;
    for (std::size_t i = 0; i < 2; ++i) {
        const Board& board = i == 0 ? *leftBoard : *rightBoard;
        memory::KeptBoard& kept = match.boards[i];
        kept.player = memory::kindOf(players[i]);
        for (std::uint32_t cell = 0; cell < 16; ++cell) kept.cells[cell] = board.grid(cell % 4, cell / 4);
        kept.score = board.score;
        kept.moves = board.moves;
        kept.over = board.gameOver;
    }
    const Mt19937 generator = currentGenerator();
    match.generator = generator.state();
    match.generatorPosition = static_cast<std::uint32_t>(generator.position());
    return match;
}

void GameApp::keepMatch() {
    const std::int64_t progress = progressOf(*leftBoard) + progressOf(*rightBoard);
    // A network match cannot go on without the other side: never kept.
    if (!keeper || network || progress == keptProgress) return;
    keptProgress = progress;
    keeper->keep(snapshot());
}

void GameApp::recordMatch() {
    // Boards shown while waiting for the other side were never played.
    if (!keeper || (network && !network->started())) return;
    memory::MatchRecord record;
    record.id = matchId;
    record.ended = static_cast<std::int64_t>(std::time(nullptr));
    for (std::size_t i = 0; i < 2; ++i) {
        const Board& board = i == 0 ? *leftBoard : *rightBoard;
        const bool remote = network && i != network->own();
        const memory::PlayerKind kind = remote ? memory::PlayerKind::Network : memory::kindOf(players[i]);
        record.boards[i] = {kind, board.score, largestTile(board), board.moves};
    }
    record.winner = memory::winnerOf(leftBoard->score, rightBoard->score);
    keeper->record(record);
}

void GameApp::showTally() {
    // The records answer the match just decided; a later match shows its own.
    if (!matchOver || !players[0] == !players[1]) return;
    const computer::Level level = players[0] ? *players[0] : *players[1];
    const memory::Tally& tally = records.against[static_cast<std::size_t>(level)];
    const std::string note =
        localizeFormat("_%s_: _you_ %s, _computer_ %s", computer::levelName(level), tally.won, tally.lost);
    leftBoard->setResultNote(note);
    rightBoard->setResultNote(note);
}

void GameApp::showPlayers() {
    for (std::size_t i = 0; i < 2; ++i) {
        // The key to the network panel, on the left board's line where no
        // computer is named.
        const std::string& left = players[0] ? captions->of(players[0]) : networkHint;
        if (network) {
            // A person on each: the best shown is this machine's person's.
            const auto best = records.best[static_cast<std::size_t>(memory::PlayerKind::Person)];
            captions->compose(lineTexts[i], i == network->own() ? best : std::nullopt, i == 0 ? left : "");
            playerLines[i]->setText(lineTexts[i]);
            continue;
        }
        const std::string& caption = i == 0 ? left : captions->withKey(players[1], chosenPlayer2);
        const bool choosing = i == 1 && players[1] != chosenPlayer2;
        const auto best = records.best[static_cast<std::size_t>(memory::kindOf(players[i]))];
        captions->compose(lineTexts[i], choosing ? std::nullopt : best, caption);
        playerLines[i]->setText(lineTexts[i]);
    }
}

void GameApp::host(std::uint16_t port) {
    net::Config config{.version = std::string(programVersion()), .wake = [this] { wake(); }};
    startNetwork(net::Session::host(port, std::move(config)), NetMatch::Role::Host, "");
}

void GameApp::join(const net::JoinTarget& target) {
    net::Config config{.version = std::string(programVersion()), .wake = [this] { wake(); }};
    startNetwork(net::Session::join(target, std::move(config)), NetMatch::Role::Join, net::joinText(target));
}

void GameApp::startNetwork(std::unique_ptr<net::Session> session, NetMatch::Role role, const std::string& whom) {
    // The local match waits where it stood, and the keeper keeps it as it was.
    if (!network) localMatch = snapshot();
    network.reset();
    players = {};
    chosenPlayer2 = {};
    for (auto& computer : computers) computer->steer({});
    restart();
    network = std::make_unique<NetMatch>(std::move(session), role, whom, *leftBoard, *rightBoard,
                                         [this](const std::string& line) {
                                             if (report) report(line);
                                         });
    notice->position = network->own() == 0 ? rightBoard->position : leftBoard->position;
    notice->show(network->notice());
    showPlayers();
}

void GameApp::leaveNetwork() {
    network.reset();
    notice->show({});
    if (localMatch)
        resume(*localMatch);
    else
        restart();
    localMatch.reset();
}

void GameApp::followNetwork() {
    switch (network->update(matchOver)) {
    case NetMatch::Change::None: break;
    case NetMatch::Change::Dealt:
        matchOver = false;
        matchId = memory::newMatchId();
        showPlayers();
        break;
    case NetMatch::Change::Failed:
        failure = network->failure();
        if (endOnFailure) return exit();
        if (report) report(*failure);
        leaveNetwork();
        // Where the person tried: the local game goes on under it.
        return openPanel(*failure);
    }
    notice->show(network->notice());
    // An event waits for a slide to end or for this frame to decide the match.
    if (network->holding()) requestFrame();
}

} // namespace tandrel
