#include "game/netmatch.hpp"

#include "framework/ui/i18n.hpp"

#include <utility>

namespace tandrel {

namespace {

// A friend types one of these; more would not fit over a board.
constexpr std::size_t shownAddresses = 3;

std::string addressLine() {
    std::string line;
    const std::vector<std::string> addresses = net::localAddresses();
    for (std::size_t i = 0; i < addresses.size() && i < shownAddresses; ++i)
        line.append(i == 0 ? "" : ", ").append(addresses[i]);
    return line;
}

} // namespace

NetMatch::NetMatch(std::unique_ptr<net::Session> session, Role role, const std::string& whom, Board& left, Board& right,
                   std::function<void(const std::string&)> report)
    : session(std::move(session)),
      role(role),
      boards{&left, &right},
      generators{Mt19937::fromSeed(0), Mt19937::fromSeed(0)},
      report(std::move(report)) {
    // Texts of names and addresses are never localised: they may hold '_'.
    if (role == Role::Host)
        waitingNotice(localizeFormat("_Waiting for a player_"), "");
    else
        shown = {localizeFormat("_Connecting to_"), whom, "", ""};
}

NetMatch::~NetMatch() {
    for (Board* board : boards) board->generator = nullptr;
}

void NetMatch::waitingNotice(const std::string& headline, const std::string& detail) {
    shown = {headline, detail, localizeFormat("_Port_: %s", session->port()), addressLine()};
}

void NetMatch::steer(Direction dir) {
    Board& board = *boards[own()];
    if (!dealt || board.gameOver) return;
    const std::int32_t moves = board.moves;
    board.move(dir);
    // A move into a full grid that changes nothing ends the game: the other
    // side must see that too. Anything else that changes nothing stays here.
    if (board.moves != moves || board.gameOver) session->sendMove(dir);
}

void NetMatch::confirm(bool decided) {
    if (!dealt || !decided) return;
    if (role == Role::Join) {
        if (!againSent) session->sendAgain();
        againSent = true;
    } else {
        againAsked = true;
    }
}

NetMatch::Change NetMatch::update(bool decided) {
    failedNow = false;
    while (held || session->poll(event)) {
        held = !take(event, decided);
        if (held) break;
        if (failedNow) return Change::Failed;
        // A deal starts a match the owner sets up before anything else.
        if (event.kind == net::Event::Kind::Dealt) return Change::Dealt;
    }
    // The host deals once no match is in play: for a new player at once,
    // after a decided match when either person pressed Enter.
    const bool inPlay = dealt && !decided;
    if (role == Role::Host && present && !dealing && !inPlay && (freshPlayer || againAsked)) {
        dealing = true;
        session->deal();
    }
    return Change::None;
}

bool NetMatch::take(const net::Event& arrived, bool decided) {
    using Kind = net::Event::Kind;
    Board& follower = other();
    switch (arrived.kind) {
    case Kind::Listening: break;
    case Kind::Joined:
        present = true;
        freshPlayer = role == Role::Host;
        break;
    case Kind::Dealt:
        // The last moves of the match before it are on the boards, and the
        // owner must decide and record that match before this one replaces it.
        if (follower.animating() || (dealt && boards[0]->gameOver && boards[1]->gameOver && !decided)) return false;
        deal(arrived.deal);
        break;
    case Kind::Moved:
        if (follower.animating()) return false;
        // An honest peer moves only a board in play.
        if (dealt && !follower.gameOver) follower.move(arrived.direction);
        break;
    case Kind::Again: againAsked = true; break;
    case Kind::Left:
        if (follower.animating()) return false;
        report(arrived.text);
        // The leaver's game ends with the score it had; the person here
        // finishes theirs.
        if (dealt) follower.gameOver = true;
        present = false;
        dealing = false;
        if (role == Role::Host)
            waitingNotice(localizeFormat("_The other player left_"), arrived.text);
        else
            shown = {localizeFormat("_The other player left_"), arrived.text, "", ""};
        break;
    case Kind::Rejected:
        report(arrived.text);
        // Over the board of a player to come; a match in play goes on unhidden.
        if (role == Role::Host && !present) waitingNotice(localizeFormat("_Waiting for a player_"), arrived.text);
        break;
    case Kind::Failed:
        failedNow = true;
        failedText = arrived.text;
        break;
    }
    return true;
}

void NetMatch::deal(const net::Deal& deal) {
    for (std::size_t i = 0; i < 2; ++i) {
        generators[i] = Mt19937::fromSeed(deal.seeds[i]);
        boards[i]->generator = &generators[i];
    }
    // Both open with the same values, drawn alike on both sides.
    const std::uint32_t first = randomTileValue(generators[0]);
    const std::uint32_t second = randomTileValue(generators[0]);
    for (Board* board : boards) board->reset(first, second);
    dealt = true;
    dealing = false;
    freshPlayer = false;
    againAsked = false;
    againSent = false;
    present = true;
    shown = {};
}

} // namespace tandrel
