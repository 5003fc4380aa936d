#include "game/memory/match.hpp"

#include <algorithm>
#include <bit>
#include <random>

namespace tandrel::memory {

namespace {
constexpr std::array<const char*, kindCount> kindNames{"person", "easy", "normal", "hard", "expert", "network"};
// A 4 x 4 board reaches 131072 at most: sixteen cells cannot build 2^18.
constexpr std::uint32_t largestTile = 131072;
} // namespace

const char* kindName(PlayerKind kind) { return kindNames[static_cast<std::size_t>(kind)]; }

std::optional<PlayerKind> parseKind(std::string_view name) {
    for (std::size_t i = 0; i < kindCount; ++i)
        if (name == kindNames[i]) return static_cast<PlayerKind>(i);
    return std::nullopt;
}

PlayerKind kindOf(Player player) {
    return player ? static_cast<PlayerKind>(static_cast<std::int32_t>(*player) + 1) : PlayerKind::Person;
}

bool isLevel(PlayerKind kind) { return kind != PlayerKind::Person && kind != PlayerKind::Network; }

Player playerOf(PlayerKind kind) {
    if (!isLevel(kind)) return std::nullopt;
    return static_cast<computer::Level>(static_cast<std::int32_t>(kind) - 1);
}

Winner winnerOf(std::int64_t leftScore, std::int64_t rightScore) {
    return leftScore > rightScore ? Winner::Left : leftScore < rightScore ? Winner::Right : Winner::Tie;
}

const char* winnerName(Winner winner) {
    static constexpr std::array<const char*, 3> names{"left", "right", "tie"};
    return names[static_cast<std::size_t>(winner)];
}

bool possibleTile(std::uint32_t value) { return value >= 2 && value <= largestTile && std::has_single_bit(value); }

std::string_view impossibility(const KeptMatch& match) {
    for (const KeptBoard& board : match.boards) {
        // The game never keeps a network match: the other side is gone.
        if (board.player == PlayerKind::Network) return "a player over the network";
        if (board.score < 0 || board.moves < 0) return "a negative score or move count";
        if (!std::ranges::all_of(board.cells, [](std::uint32_t v) { return v == 0 || possibleTile(v); }))
            return "a tile no board can hold";
        if (std::ranges::all_of(board.cells, [](std::uint32_t v) { return v == 0; })) return "an empty board";
    }
    if (match.boards[0].over && match.boards[1].over) return "a decided match";
    if (match.generatorPosition > Mt19937::stateSize) return "a generator past its words";
    // All zero words make the generator give 0 forever, which seeding never does.
    if (std::ranges::all_of(match.generator, [](std::uint32_t w) { return w == 0; })) return "an empty generator";
    return {};
}

std::uint64_t newMatchId() {
    std::random_device device;
    const std::uint64_t high = device();
    return high << 32 | device();
}

} // namespace tandrel::memory
