#include "game/options.hpp"

#include <algorithm>
#include <string_view>

namespace tandrel {

namespace {

enum class Value { None, Optional, Required };

using OptionValue = std::optional<std::string_view>;

struct Option {
    std::string_view name;
    Value value;
    // Shown after the name in the usage, e.g. "[=LEVEL]".
    std::string_view valueHelp;
    std::string_view help;
    // The values it takes, named in the error for any other.
    std::string_view choices;
    // False when the value is not one the option takes.
    bool (*apply)(CommandLine& line, OptionValue value);
};

bool setComputer(CommandLine& line, OptionValue value) {
    const auto level = computer::parseLevel(value.value_or("normal"));
    if (level) line.players[1] = *level;
    line.playersChosen = true;
    return level.has_value();
}

template <std::size_t board>
bool setPlayer(CommandLine& line, OptionValue value) {
    line.playersChosen = true;
    if (*value == "human") {
        line.players[board].reset();
        return true;
    }
    const auto level = computer::parseLevel(*value);
    if (level) line.players[board] = *level;
    return level.has_value();
}

bool setFullscreen(CommandLine& line, OptionValue) {
    line.fullscreen = true;
    return true;
}

bool setNew(CommandLine& line, OptionValue) {
    line.freshMatch = true;
    return true;
}

bool setRecords(CommandLine& line, OptionValue) {
    line.showRecords = true;
    return true;
}

// The later of --host and --join counts, as for the players.
bool setHost(CommandLine& line, OptionValue value) {
    line.joinTarget.reset();
    line.hostPort = value ? net::parsePort(*value) : net::defaultPort;
    return line.hostPort.has_value();
}

bool setJoin(CommandLine& line, OptionValue value) {
    line.hostPort.reset();
    line.joinTarget = net::parseJoinTarget(*value);
    return line.joinTarget.has_value();
}

bool showHelp(CommandLine& line, OptionValue);
bool showVersion(CommandLine& line, OptionValue) {
    line.exitStatus = 0;
    line.output = "tandrel " TANDREL_VERSION "\n";
    return true;
}

// One line per option: the usage is made from this table too.
constexpr std::string_view levels = "easy, normal, hard or expert";
constexpr std::string_view players = "human, easy, normal, hard or expert";
// The help names the default port in words.
static_assert(net::defaultPort == 20480);
constexpr Option options[] = {
    {"--computer", Value::Optional, "[=LEVEL]", "player 2 is the computer (LEVEL is normal if not given)", levels,
     setComputer},
    {"--player1", Value::Required, "=WHO", "who plays the left board: human or a LEVEL", players, setPlayer<0>},
    {"--player2", Value::Required, "=WHO", "who plays the right board: human or a LEVEL", players, setPlayer<1>},
    {"--host", Value::Optional, "[=PORT]", "wait for a player over the network (PORT is 20480 if not given)",
     "a port from 1 to 65535", setHost},
    {"--join", Value::Required, "=HOST[:PORT]", "play the one hosting at HOST (a name, an address, [IPv6])",
     "HOST, HOST:PORT, [IPv6] or [IPv6]:PORT, with a port from 1 to 65535", setJoin},
    {"--fullscreen", Value::None, "", "start in full screen", "", setFullscreen},
    {"--new", Value::None, "", "deal a fresh match, forgetting the kept one", "", setNew},
    {"--records", Value::None, "", "print the best scores, tallies and last matches, exit", "", setRecords},
    {"--help", Value::None, "", "show this help and exit", "", showHelp},
    {"--version", Value::None, "", "show the version and exit", "", showVersion},
};

bool showHelp(CommandLine& line, OptionValue) {
    line.exitStatus = 0;
    line.output =
        "Usage: tandrel [OPTION]...\n"
        "A sliding-number game for two people on one keyboard, or for one against\n"
        "the computer.\n\n";
    for (const Option& option : options) {
        std::string shown = "  ";
        shown.append(option.name).append(option.valueHelp);
        shown.resize(std::max<std::size_t>(shown.size() + 2, 22), ' ');
        line.output.append(shown).append(option.help).append("\n");
    }
    line.output +=
        "\nLEVEL is easy, normal, hard or expert.\n\n"
        "Keys: player 1 slides with A, D, W and S, player 2 with the arrow keys.\n"
        "F2 chooses who plays the right board from the next match on (at once\n"
        "when both games are over): a person, or the computer at each level in\n"
        "turn. Enter deals a new match once both games are over; F11 or Alt+Enter\n"
        "switches between the window and full screen; Escape quits. The first\n"
        "gamepad steers the left board and the second the right one.\n\n"
        "A network match is two people at two machines: one hosts, the other joins\n"
        "with the address the host's window shows. The host's board is the left\n"
        "one; each steers their own board with either set of keys or any gamepad.\n"
        "F3 opens the same choice in the game. Across the internet, the host\n"
        "forwards the port (20480 unless --host names another) on their router.\n\n"
        "A match closed before it is decided goes on at the next start, unless\n"
        "options choose other players or --new is given. The records and the\n"
        "kept match are in $XDG_DATA_HOME/tandrel (~/.local/share/tandrel;\n"
        "%APPDATA%\\Tandrel on Windows); deleting that folder forgets everything.\n\n"
        "The captions follow the language named by the first of LC_ALL,\n"
        "LC_MESSAGES and LANG that is set and not empty.\n";
    return true;
}

// "tandrel: <what> '<subject>'<rest>", then where to read more. Appended
// piece by piece: g++ 12 warns falsely about "..." + std::string temporaries.
CommandLine usageError(std::string_view what, std::string_view subject, std::string_view rest = {}) {
    CommandLine line;
    line.exitStatus = 2;
    // Scripts and tests match the second line exactly.
    line.output.append("tandrel: ").append(what).append(" '").append(subject).append("'").append(rest);
    line.output.append("\nTry 'tandrel --help'.\n");
    return line;
}

} // namespace

std::string_view programVersion() { return TANDREL_VERSION; }

std::span<const char* const> argumentsOf(int argc, const char* const* argv) {
    if (argc < 1) return {};
    return {argv + 1, static_cast<std::size_t>(argc - 1)};
}

CommandLine parseCommandLine(std::span<const char* const> args) {
    CommandLine line;
    for (std::size_t i = 0; i < args.size() && !line.exitStatus; ++i) {
        const std::string_view arg = args[i];
        const std::size_t equals = arg.find('=');
        const std::string_view name = arg.substr(0, equals);
        OptionValue value;
        if (equals != std::string_view::npos) value = arg.substr(equals + 1);

        const Option* option = nullptr;
        for (const Option& candidate : options)
            if (candidate.name == name) option = &candidate;
        if (!option)
            return arg.starts_with("-") ? usageError("unrecognized option", name)
                                        : usageError("unexpected argument", arg);
        if (option->value == Value::None && value) return usageError("option", name, " doesn't allow an argument");
        // As getopt does: a required value may also be the next argument.
        if (option->value == Value::Required && !value) {
            if (i + 1 == args.size()) return usageError("option", name, " requires an argument");
            value = args[++i];
        }
        if (!option->apply(line, value)) {
            std::string rest;
            rest.append(" for '").append(name).append("' (").append(option->choices).append(")");
            return usageError("invalid argument", *value, rest);
        }
    }
    return line;
}

} // namespace tandrel
