#pragma once

#include "game/player.hpp"
#include "game/random.hpp"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tandrel::memory {

// Who played a board, as the records name it: a person at this machine, the
// computer at a level (in the order of computer::Level, after Person), or a
// person at another machine in a network match.
enum class PlayerKind : std::int32_t { Person = 0, Easy = 1, Normal = 2, Hard = 3, Expert = 4, Network = 5 };
inline constexpr std::size_t kindCount = 6;
inline constexpr std::size_t levelCount = 4;

// "person", "easy", "normal", "hard", "expert", "network": the names the
// files hold.
const char* kindName(PlayerKind kind);
std::optional<PlayerKind> parseKind(std::string_view name);
PlayerKind kindOf(Player player);
// Whether the computer played; a person at either machine did otherwise.
bool isLevel(PlayerKind kind);
// A person for a person at either machine.
Player playerOf(PlayerKind kind);

enum class Winner : std::int32_t { Left = 0, Right = 1, Tie = 2 };
Winner winnerOf(std::int64_t leftScore, std::int64_t rightScore);
// "left", "right", "tie".
const char* winnerName(Winner winner);

// A tile a 4 x 4 board can hold: a power of two from 2 to 131072.
bool possibleTile(std::uint32_t value);
// Scores and move counts are 32-bit counts in the game; more is impossible.
inline constexpr std::int64_t countLimit = 2147483647;

// One board of a decided match.
struct BoardResult {
    PlayerKind player = PlayerKind::Person;
    std::int64_t score = 0;
    std::uint32_t largest = 0;
    std::int64_t moves = 0;
    bool operator==(const BoardResult&) const = default;
};

// A decided match, as it is recorded.
struct MatchRecord {
    // Chosen when the match was dealt; it stays with a kept match, so a match
    // is recorded once even if the game stops between recording it and
    // forgetting it.
    std::uint64_t id = 0;
    // Seconds since 1970 (UTC) when it was decided.
    std::int64_t ended = 0;
    std::array<BoardResult, 2> boards{};
    Winner winner = Winner::Tie;
    bool operator==(const MatchRecord&) const = default;
};

// One board of a match in play, as it is kept for the next start.
struct KeptBoard {
    PlayerKind player = PlayerKind::Person;
    // Cell (x, y) at x + 4 y, y from the top row.
    std::array<std::uint32_t, 16> cells{};
    std::int32_t score = 0;
    std::int32_t moves = 0;
    // This player is out and waits for the other.
    bool over = false;
    bool operator==(const KeptBoard&) const = default;
};

// A match in play: both boards and the generator the next tiles come from,
// so that it goes on exactly as it would have.
struct KeptMatch {
    std::uint64_t id = 0;
    std::array<KeptBoard, 2> boards{};
    Mt19937::State generator{};
    std::uint32_t generatorPosition = Mt19937::stateSize;
    bool operator==(const KeptMatch&) const = default;
};

// Why a kept match cannot be: empty when it is possible.
std::string_view impossibility(const KeptMatch& match);

// How a person has fared against one level of the computer.
struct Tally {
    std::int64_t won = 0;
    std::int64_t lost = 0;
    std::int64_t tied = 0;
    bool operator==(const Tally&) const = default;
};

// What the game shows of its records: each kind of player's best score (a
// person's is the best of any person at this machine), and the tally against
// each level.
struct Summary {
    std::array<std::optional<std::int64_t>, kindCount> best{};
    std::array<Tally, levelCount> against{};
};

// A match's id: random, drawn from the system rather than from the game's
// generator, whose draws belong to the tiles.
std::uint64_t newMatchId();

} // namespace tandrel::memory
