#pragma once

#include "game/memory/match.hpp"
#include "game/memory/storefile.hpp"

#include <optional>

namespace tandrel::memory {

// "match.sqlite": the one match in play that the next start continues.
extern const StoreFile matchFile;

// Replaces the kept match.
void saveKeptMatch(Database& db, const KeptMatch& match);
std::optional<KeptMatch> loadKeptMatch(Database& db);
// Forgets the kept match if it is the one with that id.
void forgetKeptMatch(Database& db, std::uint64_t id);
void forgetKeptMatch(Database& db);

} // namespace tandrel::memory
