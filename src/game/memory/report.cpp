#include "game/memory/report.hpp"

#include "game/memory/records.hpp"
#include "game/memory/sqlite.hpp"

#include <cstdio>
#include <ctime>

namespace tandrel::memory {

namespace {

std::string padded(std::string text, std::size_t width) {
    if (text.size() < width) text.resize(width, ' ');
    return text;
}

std::string rightAligned(std::int64_t value, std::size_t width) {
    std::string text = std::to_string(value);
    return text.size() < width ? std::string(width - text.size(), ' ') + text : text;
}

std::string localTime(std::int64_t seconds) {
    const std::time_t time = static_cast<std::time_t>(seconds);
    char text[32] = "?";
    // Only --records reads the clock this way, on the main thread alone.
    if (const std::tm* local = std::localtime(&time)) std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", local);
    return text;
}

std::string side(const BoardResult& board) {
    return padded(kindName(board.player), 7) + rightAligned(board.score, 8) + " (" + std::to_string(board.largest) +
           ")";
}

std::string result(const MatchRecord& record) {
    const bool computers = isLevel(record.boards[0].player) && isLevel(record.boards[1].player);
    std::string text = record.winner == Winner::Tie ? "tie" : record.winner == Winner::Left ? "left won" : "right won";
    return computers ? text + ", computer against computer" : text;
}

} // namespace

std::string recordsReport(const Summary& summary, const std::vector<MatchRecord>& latest) {
    if (latest.empty()) return "No match has been recorded yet.\n";
    std::string text = "Best scores\n";
    for (std::size_t kind = 0; kind < kindCount; ++kind)
        if (const auto& best = summary.best[kind])
            text += "  " + padded(kindName(static_cast<PlayerKind>(kind)), 8) + rightAligned(*best, 8) + "\n";
    text += "\nA person against the computer   won  lost  tied\n";
    bool any = false;
    for (std::size_t level = 0; level < levelCount; ++level) {
        const Tally& tally = summary.against[level];
        if (tally.won + tally.lost + tally.tied == 0) continue;
        any = true;
        text += "  " + padded(kindName(static_cast<PlayerKind>(level + 1)), 28) + rightAligned(tally.won, 6) +
                rightAligned(tally.lost, 6) + rightAligned(tally.tied, 6) + "\n";
    }
    if (!any) text += "  none yet\n";
    text += "\nThe last " + std::to_string(latest.size()) + (latest.size() == 1 ? " match" : " matches") +
            ", newest first (score and largest tile of each board)\n";
    for (const MatchRecord& record : latest)
        text += "  " + localTime(record.ended) + "  " + padded(side(record.boards[0]), 25) + "  " +
                padded(side(record.boards[1]), 25) + "  " + result(record) + "\n";
    return text;
}

int printRecords(const std::filesystem::path& folder, std::ostream& out, const Report& report) {
    if (folder.empty()) {
        report("no folder to read records from (HOME is not set)");
        return 1;
    }
    try {
        sqliteLoader().load();
    } catch (const VandorException& e) {
        report(std::string("SQLite cannot be loaded (") + e.what() + "): no records can be read");
        return 1;
    }
    OpenedFile file = openStoreFile(folder, recordsFile, report);
    if (file.state == OpenedFile::State::Unusable) return 1;
    if (!file.db) {
        out << recordsReport({}, {});
        return 0;
    }
    try {
        out << recordsReport(readSummary(*file.db), lastRecords(*file.db, listedMatches));
    } catch (const DatabaseError& e) {
        report("cannot read the records in " + folder.string() + " (" + e.what() + ")");
        return 1;
    }
    return 0;
}

} // namespace tandrel::memory
