// Tandrel's entry point: the command line first, then the language file,
// both before any window exists, then the game until Escape or the window is
// closed.

#include "framework/core/entry.hpp"
#include "framework/ui/i18n.hpp"
#include "game/gameapp.hpp"
#include "game/options.hpp"

#include <string>

int main(int argc, char** argv) {
    const tandrel::CommandLine commandLine = tandrel::parseCommandLine(tandrel::argumentsOf(argc, argv));
    if (commandLine.exitStatus)
        return tandrel::answerCommandLine("tandrel", *commandLine.exitStatus, commandLine.output);
    return tandrel::runReportingFailures("tandrel", [&] {
        try {
            tandrel::loadLocale("locale");
        } catch (const tandrel::LocaleFileException& e) {
            // Name the file and line so the user can mend it.
            throw tandrel::VandorException(e.path + ", line " + std::to_string(e.line) + ": " + e.what());
        }
        tandrel::GameApp game(commandLine.players, commandLine.fullscreen);
        game.run();
        return 0;
    });
}
