// Tandrel's entry point: the language file first, before any window exists,
// then the game until Escape or the window is closed.

#include "framework/core/entry.hpp"
#include "framework/ui/i18n.hpp"
#include "game/gameapp.hpp"

#include <string>

int main() {
    return tandrel::runReportingFailures("tandrel", [] {
        try {
            tandrel::loadLocale("locale");
        } catch (const tandrel::LocaleFileException& e) {
            // Name the file and line so the user can mend it.
            throw tandrel::VandorException(e.path + ", line " + std::to_string(e.line) + ": " + e.what());
        }
        tandrel::GameApp game;
        game.run();
        return 0;
    });
}
