#pragma once

#include "game/memory/match.hpp"
#include "game/memory/storefile.hpp"

#include <cstddef>
#include <vector>

namespace tandrel::memory {

// "records.sqlite": every decided match, one row each.
extern const StoreFile recordsFile;

// A match already recorded (the same id) is left as it is.
void addRecord(Database& db, const MatchRecord& record);
bool isRecorded(Database& db, std::uint64_t id);
Summary readSummary(Database& db);
// The latest first.
std::vector<MatchRecord> lastRecords(Database& db, std::size_t count);

} // namespace tandrel::memory
