#pragma once

#include "game/net/session.hpp"
#include "game/player.hpp"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tandrel {

// What the command line asks for: the players of a match, or a text to print
// and a status to exit with before any window opens.
struct CommandLine {
    // Left board first; a person on each unless an option says otherwise.
    std::array<Player, 2> players{};
    // Whether an option chose a player: a kept match goes on only with the
    // players it had.
    bool playersChosen = false;
    bool fullscreen = false;
    // --new: a fresh match, and the kept one is forgotten.
    bool freshMatch = false;
    // --records: print the records instead of playing.
    bool showRecords = false;
    // --host: wait on this port for a player over the network.
    std::optional<std::uint16_t> hostPort;
    // --join: play the one hosting there.
    std::optional<net::JoinTarget> joinTarget;
    // Set for --help and --version (0, the text goes to stdout) and for a
    // usage error (2, the text goes to stderr).
    std::optional<int> exitStatus;
    std::string output;
};

// "0.4.0": what --version prints, and what a network match's two sides
// compare.
std::string_view programVersion();

// The arguments after the program's name, in order; a later option overrides
// an earlier one for the same board.
CommandLine parseCommandLine(std::span<const char* const> args);

// The arguments after the program's name, as main receives them. An execve
// with an empty list gives argc 0, and argv ends at once: no arguments.
std::span<const char* const> argumentsOf(int argc, const char* const* argv);

} // namespace tandrel
