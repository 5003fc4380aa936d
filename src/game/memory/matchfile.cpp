#include "game/memory/matchfile.hpp"

#include <bit>
#include <cstring>
#include <string>

namespace tandrel::memory {

namespace {

constexpr const char* columns =
    "match, left_player, right_player, left_cells, right_cells, left_score, right_score, "
    "left_moves, right_moves, left_over, right_over, generator";

// Blobs hold 32-bit words, least significant byte first on every platform.
template <std::size_t N>
std::array<std::byte, 4 * N> wordBytes(const std::array<std::uint32_t, N>& words) {
    std::array<std::byte, 4 * N> bytes;
    for (std::size_t i = 0; i < N; ++i)
        for (std::size_t b = 0; b < 4; ++b) bytes[4 * i + b] = static_cast<std::byte>(words[i] >> (8 * b));
    return bytes;
}

// False when the blob is not exactly N words long.
template <std::size_t N>
bool readWords(std::span<const std::byte> bytes, std::array<std::uint32_t, N>& words) {
    if (bytes.size() != 4 * N) return false;
    for (std::size_t i = 0; i < N; ++i) {
        words[i] = 0;
        for (std::size_t b = 0; b < 4; ++b) words[i] |= std::to_integer<std::uint32_t>(bytes[4 * i + b]) << (8 * b);
    }
    return true;
}

// The generator's words, then its position among them.
using GeneratorWords = std::array<std::uint32_t, Mt19937::stateSize + 1>;

// Reads the row the statement stands on; throws ImpossibleContents.
KeptMatch readRow(Statement& row) {
    KeptMatch match;
    match.id = std::bit_cast<std::uint64_t>(row.integer(0));
    for (int side = 0; side < 2; ++side) {
        KeptBoard& board = match.boards[static_cast<std::size_t>(side)];
        const auto kind = parseKind(row.text(1 + side));
        if (!kind) throw ImpossibleContents("a kept match with an unknown player");
        board.player = *kind;
        if (!readWords(row.blob(3 + side), board.cells)) throw ImpossibleContents("a kept board of the wrong size");
        for (int column : {5 + side, 7 + side, 9 + side})
            if (!row.isInteger(column) || row.integer(column) < 0 || row.integer(column) > countLimit)
                throw ImpossibleContents("a kept match with an impossible count");
        board.score = static_cast<std::int32_t>(row.integer(5 + side));
        board.moves = static_cast<std::int32_t>(row.integer(7 + side));
        if (row.integer(9 + side) > 1) throw ImpossibleContents("a kept match with an impossible count");
        board.over = row.integer(9 + side) == 1;
    }
    GeneratorWords generator;
    if (!readWords(row.blob(11), generator)) throw ImpossibleContents("a kept generator of the wrong size");
    std::memcpy(match.generator.data(), generator.data(), sizeof match.generator);
    match.generatorPosition = generator.back();
    if (const std::string_view why = impossibility(match); !why.empty())
        throw ImpossibleContents("a kept match with " + std::string(why));
    return match;
}

void checkMatch(Database& db) {
    Statement query = db.prepare(std::string("SELECT ") + columns + " FROM kept");
    while (query.step()) readRow(query);
}

} // namespace

const StoreFile matchFile{
    "match.sqlite",
    0x54644D4B, // "TdMK"
    1,
    "CREATE TABLE kept(slot INTEGER PRIMARY KEY CHECK (slot = 1), saved INTEGER NOT NULL, match INTEGER NOT NULL, "
    "left_player TEXT NOT NULL, right_player TEXT NOT NULL, left_cells BLOB NOT NULL, right_cells BLOB NOT NULL, "
    "left_score INTEGER NOT NULL, right_score INTEGER NOT NULL, left_moves INTEGER NOT NULL, "
    "right_moves INTEGER NOT NULL, left_over INTEGER NOT NULL, right_over INTEGER NOT NULL, generator BLOB NOT NULL)",
    checkMatch,
};

void saveKeptMatch(Database& db, const KeptMatch& match) {
    Statement save = db.prepare(std::string("INSERT OR REPLACE INTO kept(slot, saved, ") + columns +
                                ") VALUES (1, strftime('%s', 'now'), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    save.bind(1, std::bit_cast<std::int64_t>(match.id));
    std::array<std::array<std::byte, 64>, 2> cells;
    for (int side = 0; side < 2; ++side) {
        const KeptBoard& board = match.boards[static_cast<std::size_t>(side)];
        cells[static_cast<std::size_t>(side)] = wordBytes(board.cells);
        save.bind(2 + side, kindName(board.player));
        save.bind(4 + side, std::span<const std::byte>(cells[static_cast<std::size_t>(side)]));
        save.bind(6 + side, std::int64_t{board.score});
        save.bind(8 + side, std::int64_t{board.moves});
        save.bind(10 + side, std::int64_t{board.over});
    }
    GeneratorWords generator;
    std::memcpy(generator.data(), match.generator.data(), sizeof match.generator);
    generator.back() = match.generatorPosition;
    const auto bytes = wordBytes(generator);
    save.bind(12, std::span<const std::byte>(bytes));
    save.step();
}

std::optional<KeptMatch> loadKeptMatch(Database& db) {
    Statement query = db.prepare(std::string("SELECT ") + columns + " FROM kept WHERE slot = 1");
    if (!query.step()) return std::nullopt;
    return readRow(query);
}

void forgetKeptMatch(Database& db, std::uint64_t id) {
    Statement forget = db.prepare("DELETE FROM kept WHERE match = ?");
    forget.bind(1, std::bit_cast<std::int64_t>(id));
    forget.step();
}

void forgetKeptMatch(Database& db) { db.exec("DELETE FROM kept"); }

} // namespace tandrel::memory
