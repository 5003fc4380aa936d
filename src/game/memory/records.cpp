#include "game/memory/records.hpp"

#include <bit>
#include <string>

namespace tandrel::memory {

namespace {

// Each column comes in a left and a right board's version, in this order.
constexpr const char* columns =
    "match, ended, left_player, right_player, left_score, right_score, "
    "left_largest, right_largest, left_moves, right_moves, winner";

// Ids are drawn as unsigned 64-bit numbers; SQLite's integers are signed.
std::int64_t stored(std::uint64_t id) { return std::bit_cast<std::int64_t>(id); }

std::string quotedNames(std::size_t first) {
    std::string list;
    for (std::size_t i = first; i < kindCount; ++i)
        list.append(list.empty() ? "'" : ", '").append(kindName(static_cast<PlayerKind>(i))).append("'");
    return list;
}

std::string possibleTiles() {
    std::string list;
    for (std::uint32_t tile = 2; possibleTile(tile); tile *= 2)
        list.append(list.empty() ? "" : ", ").append(std::to_string(tile));
    return list;
}

// A board's side of a row the game could have written.
std::string possibleSide(const std::string& side) {
    const std::string limit = std::to_string(countLimit);
    return side + "_player IN (" + quotedNames(0) + ") AND typeof(" + side + "_score) = 'integer' AND " + side +
           "_score BETWEEN 0 AND " + limit + " AND " + side + "_largest IN (" + possibleTiles() + ") AND typeof(" +
           side + "_moves) = 'integer' AND " + side + "_moves BETWEEN 0 AND " + limit;
}

void checkRecords(Database& db) {
    // "IS NOT 1" counts a row whose test comes to NULL (a NULL column) as well.
    const std::string query =
        "SELECT count(*) FROM matches WHERE (typeof(match) = 'integer' AND typeof(ended) = 'integer' AND ended > 0 "
        "AND " +
        possibleSide("left") + " AND " + possibleSide("right") +
        " AND winner = CASE WHEN left_score > right_score THEN 'left' WHEN left_score < right_score THEN 'right' "
        "ELSE 'tie' END) IS NOT 1";
    if (const std::int64_t bad = db.single(query); bad > 0)
        throw ImpossibleContents(std::to_string(bad) + (bad == 1 ? " match" : " matches") +
                                 " with impossible contents");
}

} // namespace

const StoreFile recordsFile{
    "records.sqlite",
    0x54644C52, // "TdLR"
    1,
    "CREATE TABLE matches(match INTEGER NOT NULL UNIQUE, ended INTEGER NOT NULL, "
    "left_player TEXT NOT NULL, right_player TEXT NOT NULL, left_score INTEGER NOT NULL, "
    "right_score INTEGER NOT NULL, left_largest INTEGER NOT NULL, right_largest INTEGER NOT NULL, "
    "left_moves INTEGER NOT NULL, right_moves INTEGER NOT NULL, winner TEXT NOT NULL)",
    checkRecords,
};

void addRecord(Database& db, const MatchRecord& record) {
    Statement insert = db.prepare(std::string("INSERT OR IGNORE INTO matches(") + columns +
                                  ") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    insert.bind(1, stored(record.id)).bind(2, record.ended);
    for (int side = 0; side < 2; ++side) {
        const BoardResult& board = record.boards[static_cast<std::size_t>(side)];
        insert.bind(3 + side, kindName(board.player));
        insert.bind(5 + side, board.score);
        insert.bind(7 + side, std::int64_t{board.largest});
        insert.bind(9 + side, board.moves);
    }
    insert.bind(11, winnerName(record.winner));
    insert.step();
}

bool isRecorded(Database& db, std::uint64_t id) {
    Statement query = db.prepare("SELECT count(*) FROM matches WHERE match = ?");
    query.bind(1, stored(id));
    return query.step() && query.integer(0) > 0;
}

Summary readSummary(Database& db) {
    Summary summary;
    Statement best = db.prepare(
        "SELECT player, max(score) FROM (SELECT left_player AS player, left_score AS score "
        "FROM matches UNION ALL SELECT right_player, right_score FROM matches) GROUP BY player");
    while (best.step())
        if (auto kind = parseKind(best.text(0))) summary.best[static_cast<std::size_t>(*kind)] = best.integer(1);
    // From the person's side of every match of a person against the computer.
    Statement tally = db.prepare(
        "SELECT level, sum(result = 'won'), sum(result = 'lost'), sum(result = 'tied') FROM ("
        "SELECT right_player AS level, CASE winner WHEN 'left' THEN 'won' WHEN 'right' THEN 'lost' ELSE 'tied' END "
        "AS result FROM matches WHERE left_player = 'person' AND right_player <> 'person' UNION ALL "
        "SELECT left_player, CASE winner WHEN 'right' THEN 'won' WHEN 'left' THEN 'lost' ELSE 'tied' END "
        "FROM matches WHERE right_player = 'person' AND left_player <> 'person') GROUP BY level");
    while (tally.step())
        if (auto kind = parseKind(tally.text(0)); kind && isLevel(*kind))
            summary.against[static_cast<std::size_t>(*kind) - 1] = {tally.integer(1), tally.integer(2),
                                                                    tally.integer(3)};
    return summary;
}

std::vector<MatchRecord> lastRecords(Database& db, std::size_t count) {
    Statement query =
        db.prepare(std::string("SELECT ") + columns + " FROM matches ORDER BY ended DESC, rowid DESC LIMIT ?");
    query.bind(1, static_cast<std::int64_t>(count));
    std::vector<MatchRecord> records;
    while (query.step()) {
        MatchRecord record;
        record.id = std::bit_cast<std::uint64_t>(query.integer(0));
        record.ended = query.integer(1);
        for (int side = 0; side < 2; ++side) {
            BoardResult& board = record.boards[static_cast<std::size_t>(side)];
            board.player = parseKind(query.text(2 + side)).value_or(PlayerKind::Person);
            board.score = query.integer(4 + side);
            board.largest = static_cast<std::uint32_t>(query.integer(6 + side));
            board.moves = query.integer(8 + side);
        }
        record.winner = winnerOf(record.boards[0].score, record.boards[1].score);
        records.push_back(record);
    }
    return records;
}

} // namespace tandrel::memory
