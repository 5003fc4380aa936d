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
#include <sstream>
#include <stdexcept>
#include <string>

namespace {

// The game plays on after these: stderr, never a box to dismiss.
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
    const tandrel::CommandLine commandLine = tandrel::parseCommandLine(tandrel::argumentsOf(argc, argv));
    if (commandLine.exitStatus)
        return tandrel::answerCommandLine("tandrel", *commandLine.exitStatus, commandLine.output);
    if (commandLine.showRecords) {
        // Typed in a Windows console, a program without one answers there.
        std::string said;
        std::ostringstream records;
        const int status =
            tandrel::memory::printRecords(tandrel::memory::dataFolder(), records,
                                          [&said](const std::string& line) { said += "tandrel: " + line + "\n"; });
        return tandrel::answerCommandLine("tandrel", status, said + records.str());
    }
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
        // A network match leaves the kept match where it is, for later.
        const bool network = commandLine.hostPort || commandLine.joinTarget;
        const tandrel::memory::KeptMatch* resume = network ? nullptr : matchToResume(commandLine, keeper);
        tandrel::GameApp game(commandLine.players, commandLine.fullscreen, &keeper, resume);
        // Only once the fresh match is there: a game that cannot start keeps it.
        if (!resume && !network && keeper.keptMatch()) keeper.forget();
        game.report = reportLine;
        if (commandLine.hostPort) game.host(*commandLine.hostPort);
        if (commandLine.joinTarget) {
            game.endOnFailure = true;
            game.join(*commandLine.joinTarget);
        }
        game.run();
        // Said once, as the program's last line.
        if (game.endOnFailure && game.failure) throw std::runtime_error(*game.failure);
        return 0;
    });
}
