// Tandrel's entry point: the command line first, then the language file and
// the game's memory, all before any window exists, then the game until
// Escape or the window is closed.

#include "framework/core/entry.hpp"
#include "framework/ui/i18n.hpp"
#include "game/gameapp.hpp"
#include "game/memory/datafolder.hpp"
#include "game/memory/keeper.hpp"
#include "game/memory/report.hpp"
#include "game/options.hpp"

#include <cstdio>
#include <iostream>
#include <span>
#include <string>

namespace {

void reportLine(const std::string& line) { std::fprintf(stderr, "tandrel: %s\n", line.c_str()); }

// The kept match goes on unless the command line asks for a fresh one or
// for other players.
const tandrel::memory::KeptMatch* matchToResume(const tandrel::CommandLine& commandLine,
                                                const tandrel::memory::Keeper& keeper) {
    const auto& kept = keeper.keptMatch();
    if (!kept || commandLine.freshMatch) return nullptr;
    const std::array<tandrel::Player, 2> keptPlayers{tandrel::memory::playerOf(kept->boards[0].player),
                                                     tandrel::memory::playerOf(kept->boards[1].player)};
    return !commandLine.playersChosen || keptPlayers == commandLine.players ? &*kept : nullptr;
}

} // namespace

int main(int argc, char** argv) {
    const tandrel::CommandLine commandLine =
        tandrel::parseCommandLine(std::span<const char* const>(argv + 1, static_cast<std::size_t>(argc - 1)));
    if (commandLine.exitStatus) {
        (*commandLine.exitStatus == 0 ? std::cout : std::cerr) << commandLine.output << std::flush;
        return *commandLine.exitStatus;
    }
    if (commandLine.showRecords)
        return tandrel::memory::printRecords(tandrel::memory::dataFolder(), std::cout, reportLine);
    return tandrel::runReportingFailures("tandrel", [&] {
        try {
            tandrel::loadLocale("locale");
        } catch (const tandrel::LocaleFileException& e) {
            // Name the file and line so the user can mend it.
            throw tandrel::VandorException(e.path + ", line " + std::to_string(e.line) + ": " + e.what());
        }
        // Made before the game and gone after it: what the last frames hand
        // over is written before the program ends.
        tandrel::memory::Keeper keeper({.folder = tandrel::memory::dataFolder(), .report = reportLine});
        const tandrel::memory::KeptMatch* resume = matchToResume(commandLine, keeper);
        tandrel::GameApp game(commandLine.players, commandLine.fullscreen, &keeper, resume);
        // Only once the fresh match is there: a game that cannot start keeps it.
        if (!resume && keeper.keptMatch()) keeper.forget();
        game.run();
        return 0;
    });
}
