#pragma once

#include "framework/core/application.hpp"
#include "framework/ui/ftfont.hpp"
#include "framework/ui/textline.hpp"
#include "game/board.hpp"
#include "game/computerplayer.hpp"
#include "game/gamepad.hpp"
#include "game/memory/keeper.hpp"
#include "game/moveworker.hpp"
#include "game/net/session.hpp"
#include "game/netmatch.hpp"
#include "game/netpanel.hpp"
#include "game/notice.hpp"
#include "game/player.hpp"
#include "game/playercaptions.hpp"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace tandrel {

// The game: two boards side by side in one 2D layer, player 1 on a, d, w, s
// and the first gamepad, player 2 on the arrow keys and the second gamepad,
// unless the computer steers their board. When both players are out the
// higher score wins, and Enter or a gamepad button deals a new match. F2
// chooses player 2 for the next match. F3 opens the panel of the network
// match, in which each person steers their own board from their own machine.
class GameApp : public Application {
    // Declared first so that they outlive the boards that draw with them.
    std::unique_ptr<FreeTypeFont> largeFont;
    std::unique_ptr<FreeTypeFont> smallFont;
    std::unique_ptr<FreeTypeFont> captionFont;

public:
    static constexpr const char* fontPath = "./data/fonts/clearsans/ClearSans-Bold.ttf";
    // Of the line that tells who steers a board: small enough for the longest
    // translation to fit under the grid.
    static constexpr std::uint32_t captionFontSize = 13;

    // Who steers each board, left first; a person on each by default. With a
    // keeper the game remembers: it records each decided match, keeps the
    // match in play, and goes on with `resume` (the keeper's kept match) when
    // given one instead of dealing a fresh match. The keeper must outlive the
    // game.
    explicit GameApp(std::array<Player, 2> players = {}, bool fullscreen = false, memory::Keeper* keeper = nullptr,
                     const memory::KeptMatch* resume = nullptr);
    ~GameApp() override;

    Layer* layer = nullptr;
    std::unique_ptr<Board> leftBoard;
    std::unique_ptr<Board> rightBoard;
    // Between each board's grid and its score, drawn over the boards: who
    // steers it, and on player 2's the key that chooses.
    std::array<std::unique_ptr<TextLine>, 2> playerLines;
    // Set by decideWinner; only then does Enter start a new match.
    bool matchOver = false;
    Gamepads gamepads;
    // Who steers each board in this match.
    std::array<Player, 2> players;
    // What F2 has chosen for player 2 from the next match on.
    Player chosenPlayer2;

    void onKeyDown() override;
    void onKeyUp() override;
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
    // Goes on with a kept match where it stood.
    virtual void resume(const memory::KeptMatch& match);
    // A network match instead of the local one: wait for a player on the
    // port, or join a host. Hosting throws net::NetError when nothing can
    // listen on the port.
    void host(std::uint16_t port);
    void join(const net::JoinTarget& target);
    // Back to the local match as it stood before the network match.
    void leaveNetwork();
    // F3's: host or join without a command line.
    std::unique_ptr<NetPanel> panel;
    // The network match, while there is one.
    std::unique_ptr<NetMatch> network;
    // Where lines about the network go (stderr); empty for nowhere.
    std::function<void(const std::string&)> report;
    // Set when a join from the command line fails: the game ends, and the
    // program says why.
    bool endOnFailure = false;
    std::optional<std::string> failure;
    // The match in play as it stands, to keep.
    memory::KeptMatch snapshot() const;
    // The next choice for player 2; at once when both games are over.
    virtual void choosePlayer2();

private:
    // Who steers each board and what F2 has chosen, with each player's best,
    // in the caption lines.
    void showPlayers();
    // Hands the match in play to the keeper whenever a move changed it.
    void keepMatch();
    void recordMatch();
    // A key while the panel is open: nothing else sees it.
    void panelKey();
    void openPanel(const std::string& status);
    void startNetwork(std::unique_ptr<net::Session> session, NetMatch::Role role, const std::string& whom);
    // The network's events of this frame.
    void followNetwork();
    // Under the result of a match of a person against the computer.
    void showTally();

    memory::Keeper* keeper;
    memory::Summary records;
    std::uint64_t matchId = 0;
    // Grows with every change worth keeping: moves that changed a grid, and
    // games that ended. What the keeper was last given was at this count.
    std::int64_t keptProgress = 0;
    std::array<std::string, 2> lineTexts;
    std::string networkHint;
    // Over the other board in a network match.
    std::unique_ptr<Notice> notice;
    // The Escape that closed the panel: its release must not quit.
    bool escapeClosedPanel = false;
    // What the panel offers: the address typed last.
    std::string lastAddress;
    // The local match a network match set aside.
    std::optional<memory::KeptMatch> localMatch;

    std::unique_ptr<PlayerCaptions> captions;
    MoveWorker worker;
    // Declared after the boards and the worker they use, so they go first.
    std::array<std::unique_ptr<ComputerPlayer>, 2> computers;
};

} // namespace tandrel
