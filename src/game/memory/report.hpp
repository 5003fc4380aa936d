#pragma once

#include "game/memory/match.hpp"
#include "game/memory/storefile.hpp"

#include <filesystem>
#include <ostream>
#include <vector>

namespace tandrel::memory {

// How many matches `tandrel --records` lists.
inline constexpr std::size_t listedMatches = 10;

// The records as a table for a terminal: each kind of player's best score,
// the tally against each level of the computer, then the matches given,
// newest first. Times are the machine's local time.
std::string recordsReport(const Summary& summary, const std::vector<MatchRecord>& latest);

// What `tandrel --records` does: reads the records in the folder and prints
// them to `out`, or says there are none; returns the exit status (1 when
// they cannot be read).
int printRecords(const std::filesystem::path& folder, std::ostream& out, const Report& report);

} // namespace tandrel::memory
