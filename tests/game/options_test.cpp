#include <gtest/gtest.h>

#include "game/options.hpp"

#include <sys/wait.h>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace tandrel {
namespace {

using computer::Level;

struct GameRun {
    int status;
    std::string out, err;
};

// The built game with these arguments, from a shell, after a prefix such as
// `env`; only for runs that end before a window opens.
GameRun runGame(const std::vector<const char*>& args, const std::string& prefix = "") {
    const std::string errFile = testing::TempDir() + "tandrel-options-stderr";
    std::string command = prefix + TANDREL_BUILD_DIR "/tandrel";
    for (const char* arg : args) command.append(" ").append(arg);
    command += " 2>" + errFile;
    GameRun run{};
    FILE* pipe = popen(command.c_str(), "r");
    for (int c; (c = std::fgetc(pipe)) != EOF;) run.out.push_back(static_cast<char>(c));
    run.status = WEXITSTATUS(pclose(pipe));
    std::ifstream in(errFile);
    run.err.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return run;
}

const std::string tryHelp = "Try 'tandrel --help'.\n";

TEST(CommandLine, ChoosesThePlayersOrEndsWithTextAndStatus) {
    struct Case {
        std::vector<const char*> args;
        std::array<Player, 2> players;
        std::optional<int> status;
        // The whole output, or for --help its start.
        std::string output;
    };
    const Case cases[] = {
        {{}, {}, {}, ""},
        {{"--computer"}, {std::nullopt, Level::Normal}, {}, ""},
        {{"--computer=easy"}, {std::nullopt, Level::Easy}, {}, ""},
        {{"--player1=expert", "--player2", "hard"}, {Level::Expert, Level::Hard}, {}, ""},
        {{"--computer=hard", "--player2=human"}, {}, {}, ""},
        {{"--version"}, {}, 0, "tandrel 0.4.0\n"},
        {{"--help", "--bogus"}, {}, 0, "Usage: tandrel [OPTION]...\n"},
        {{"--bogus"}, {}, 2, "tandrel: unrecognized option '--bogus'\n" + tryHelp},
        {{"-h"}, {}, 2, "tandrel: unrecognized option '-h'\n" + tryHelp},
        {{"extra"}, {}, 2, "tandrel: unexpected argument 'extra'\n" + tryHelp},
        {{"--computer=human"},
         {},
         2,
         "tandrel: invalid argument 'human' for '--computer' (easy, normal, hard or expert)\n" + tryHelp},
        {{"--player1=robot"},
         {},
         2,
         "tandrel: invalid argument 'robot' for '--player1' (human, easy, normal, hard or expert)\n" + tryHelp},
        {{"--player2"}, {}, 2, "tandrel: option '--player2' requires an argument\n" + tryHelp},
        {{"--version=2"}, {}, 2, "tandrel: option '--version' doesn't allow an argument\n" + tryHelp},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const char* arg : c.args) shown.append(arg).append(" ");
        SCOPED_TRACE(shown);
        const CommandLine line = parseCommandLine(c.args);
        EXPECT_EQ(line.exitStatus, c.status);
        if (!c.status) {
            EXPECT_EQ(line.players, c.players);
            continue;
        }
        if (c.output.starts_with("Usage"))
            EXPECT_TRUE(line.output.starts_with(c.output)) << line.output;
        else
            EXPECT_EQ(line.output, c.output);
        // The real program prints the same and exits with the same status.
        const GameRun run = runGame(c.args);
        EXPECT_EQ(run.status, *c.status);
        EXPECT_EQ(*c.status == 0 ? run.out : run.err, line.output);
        EXPECT_EQ(*c.status == 0 ? run.err : run.out, "");
    }
    // The usage names every option, the in-game key and the language variables.
    const std::string usage = parseCommandLine(std::vector<const char*>{"--help"}).output;
    for (const char* word :
         {"--computer[=LEVEL]", "--player1=WHO", "--player2=WHO", "--fullscreen", "--version", "F2", "F11", "LC_ALL",
          "LC_MESSAGES", "LANG", "--host[=PORT]", "--join=HOST[:PORT]", "20480", "F3", "router"})
        EXPECT_NE(usage.find(word), std::string::npos) << word;
    EXPECT_TRUE(parseCommandLine(std::vector<const char*>{"--computer", "--fullscreen"}).fullscreen);
    EXPECT_FALSE(parseCommandLine(std::vector<const char*>{"--computer"}).fullscreen);
}

TEST(CommandLine, HostsOrJoinsOrSaysWhatIsWrongWithTheAddress) {
    struct Case {
        std::vector<const char*> args;
        std::optional<std::uint16_t> host;
        std::optional<net::JoinTarget> join;
        // Empty when the line is a good one.
        std::string error;
    };
    const std::string badPort = "' for '--host' (a port from 1 to 65535)\n" + tryHelp;
    const std::string badTarget =
        "' for '--join' (HOST, HOST:PORT, [IPv6] or [IPv6]:PORT, with a port from 1 to 65535)\n" + tryHelp;
    const Case cases[] = {
        {{"--host"}, 20480, {}, ""},
        {{"--host=5000"}, 5000, {}, ""},
        {{"--join=example.org"}, {}, net::JoinTarget{"example.org", 20480}, ""},
        {{"--join", "[::1]:7000"}, {}, net::JoinTarget{"::1", 7000}, ""},
        {{"--host", "--join=127.0.0.2:99"}, {}, net::JoinTarget{"127.0.0.2", 99}, ""},
        {{"--join=h", "--host=1"}, 1, {}, ""},
        {{"--host=0"}, {}, {}, "tandrel: invalid argument '0" + badPort},
        {{"--host=http"}, {}, {}, "tandrel: invalid argument 'http" + badPort},
        {{"--host=65536"}, {}, {}, "tandrel: invalid argument '65536" + badPort},
        {{"--join=h:0"}, {}, {}, "tandrel: invalid argument 'h:0" + badTarget},
        {{"--join=::1:80"}, {}, {}, "tandrel: invalid argument '::1:80" + badTarget},
        {{"--join="}, {}, {}, "tandrel: invalid argument '" + badTarget},
        {{"--join"}, {}, {}, "tandrel: option '--join' requires an argument\n" + tryHelp},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const char* arg : c.args) shown.append(arg).append(" ");
        SCOPED_TRACE(shown);
        const CommandLine line = parseCommandLine(c.args);
        EXPECT_EQ(line.hostPort, c.host);
        EXPECT_EQ(line.joinTarget, c.join);
        EXPECT_EQ(line.output, c.error);
        EXPECT_EQ(line.exitStatus, c.error.empty() ? std::nullopt : std::optional<int>(2));
    }
}

// What an execve with an empty list leaves main: argc 0, argv ending at
// once, the environment after it.
TEST(CommandLine, AnEmptyArgumentListIsNoArguments) {
    const char* const empty[] = {nullptr, "DISPLAY=:0", nullptr};
    EXPECT_TRUE(argumentsOf(0, empty).empty());
    const char* const named[] = {"tandrel", "--computer", nullptr};
    ASSERT_EQ(argumentsOf(2, named).size(), 1u);
    EXPECT_STREQ(argumentsOf(2, named)[0], "--computer");
}

// SDL 1.2 would fall back on a driver that takes the terminal over.
TEST(CommandLine, WithoutADisplayTheGameEndsWithOneLineBeforeSdlStarts) {
    for (const char* unset : {"", "DISPLAY= WAYLAND_DISPLAY= SDL_VIDEODRIVER="}) {
        SCOPED_TRACE(unset);
        const GameRun run =
            runGame({}, std::string("env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER ") + unset + " ");
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err,
                  "tandrel: No display found: set DISPLAY or WAYLAND_DISPLAY, or name a video driver in "
                  "SDL_VIDEODRIVER\n");
    }
}

} // namespace
} // namespace tandrel
