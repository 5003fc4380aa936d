// The built game as a player meets it: real key presses into its window, its
// pixels read back, its exit status and its error line.

#include "fixtures/loopback.hpp"
#include "harness.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <random>
#include <thread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <deque>

namespace {

using namespace e2e;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// scripts/test-windows points these at the Windows zip's folder and at a
// launcher that runs its tandrel.exe under Wine.
std::string fromEnvironment(const char* name, const std::string& fallback) {
    const char* value = std::getenv(name);
    return value && *value ? value : fallback;
}
const std::string buildDir = fromEnvironment("TANDREL_E2E_DIR", E2E_BUILD_DIR);
const std::string game = fromEnvironment("TANDREL_E2E_GAME", buildDir + "/tandrel");
// A network match's host is always this build's game: under Wine the game
// above joins it, a Windows program playing a Linux one.
const std::string linuxGame = E2E_BUILD_DIR "/tandrel";

// The game under Wine (scripts/test-windows) ends its line with CR LF and
// joins paths with a backslash, as Windows programs do.
std::string asOnLinux(std::string text) {
    std::erase(text, '\r');
    std::replace(text.begin(), text.end(), '\\', '/');
    return text;
}

constexpr Rgb background = rgb(0xBBADA0);
constexpr Rgb emptyCell = rgb(0xCDC0B4);
constexpr Rgb gold = rgb(0xEFAD3F);
constexpr Rgb white = rgb(0xFFFFFF);
constexpr int tolerance = 3;

// Fill colours of the values random play can reach.
const std::array<std::pair<int, Rgb>, 11> tileColours = {{{2, rgb(0xEEE4DA)},
                                                          {4, rgb(0xEDE0C8)},
                                                          {8, rgb(0xF2B179)},
                                                          {16, rgb(0xF59563)},
                                                          {32, rgb(0xF67C5F)},
                                                          {64, rgb(0xF65E3B)},
                                                          {128, rgb(0xEDCF72)},
                                                          {256, rgb(0xEDCC61)},
                                                          {512, rgb(0xEDC850)},
                                                          {1024, rgb(0xEDC53F)},
                                                          {2048, rgb(0xEDC22E)}}};

constexpr int boardLeft[2] = {0, 410};
constexpr int windowHeight = 450;

enum class Overlay { None, Dark, Gold, Unclear };

// One board as read from the window: cell values (0 empty, -1 unreadable,
// e.g. a tile in mid-slide or under an overlay) and what covers it.
struct BoardView {
    std::array<int, 16> cells{}; // index x + 4 y, y counted from the top row
    Overlay overlay = Overlay::Unclear;

    bool readable() const {
        return std::none_of(cells.begin(), cells.end(), [](int v) { return v < 0; });
    }
    std::vector<int> tiles() const {
        std::vector<int> values;
        for (int v : cells)
            if (v > 0) values.push_back(v);
        std::sort(values.begin(), values.end());
        return values;
    }
    bool operator==(const BoardView&) const = default;
};

// Cell (x, y) is centred at board + (50 + 100 x, 400 - 100 y) with y upward,
// so its X row is 450 minus that. The sample keeps clear of the number glyph.
// A window `scale` times the scene's size shows everything `scale` times as far.
std::pair<int, int> cellSample(int board, int x, int y, int scale = 1) {
    return {scale * (boardLeft[board] + 50 + 100 * x - 35), scale * (windowHeight - (400 - 100 * y) - 35)};
}

int valueOf(Rgb c) {
    if (near(c, emptyCell, tolerance)) return 0;
    for (const auto& [value, colour] : tileColours)
        if (near(c, colour, tolerance)) return value;
    return -1;
}

Overlay overlayOf(const Image& image, int board) {
    // Two points of the score strip, clear of the centred score text.
    const int y = windowHeight - 8;
    Overlay seen[2];
    for (int i = 0; i < 2; ++i) {
        Rgb c = image.at(boardLeft[board] + (i == 0 ? 12 : 388), y);
        seen[i] = near(c, background, tolerance)                        ? Overlay::None
                  : near(c, blend(rgb(0), 0.75, background), tolerance) ? Overlay::Dark
                  : near(c, blend(gold, 0.75, background), tolerance)   ? Overlay::Gold
                                                                        : Overlay::Unclear;
    }
    return seen[0] == seen[1] ? seen[0] : Overlay::Unclear;
}

BoardView readBoard(const Image& image, int board, int scale = 1) {
    BoardView view;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            auto [px, py] = cellSample(board, x, y, scale);
            view.cells[std::size_t(x + 4 * y)] = valueOf(image.at(px, py));
        }
    view.overlay = scale == 1 ? overlayOf(image, board) : Overlay::Unclear;
    return view;
}

// Whether the caption rows of a board (headline and second line) show text
// drawn in the colour; anti-aliased glyphs still have fully covered pixels.
bool captionShows(const Image& image, int board, Rgb colour) {
    return image.contains(boardLeft[board] + 40, windowHeight - 290, boardLeft[board] + 360, windowHeight - 215, colour,
                          6);
}

// Reads the window until the condition holds; the game draws continuously,
// so a slide in progress is simply read again a moment later.
template <typename Condition>
std::optional<Image> waitForImage(XSession& x, XWindow window, Condition condition, Millis timeout = Millis(3000)) {
    const auto end = Clock::now() + timeout;
    do {
        if (auto image = x.capture(window); image && condition(*image)) return image;
        std::this_thread::sleep_for(Millis(15));
    } while (Clock::now() < end);
    return std::nullopt;
}

// Both boards at rest and readable, unchanged over two reads.
std::optional<std::array<BoardView, 2>> steadyBoardsOf(XSession& x, XWindow window, Millis timeout = Millis(3000)) {
    std::optional<std::array<BoardView, 2>> last;
    const auto end = Clock::now() + timeout;
    do {
        if (auto image = x.capture(window)) {
            std::array<BoardView, 2> now = {readBoard(*image, 0), readBoard(*image, 1)};
            if (now[0].readable() && now[1].readable() && last && *last == now) return now;
            last = now;
        }
        std::this_thread::sleep_for(Millis(40));
    } while (Clock::now() < end);
    return std::nullopt;
}

// A scratch directory, removed afterwards.
class ScratchDir {
public:
    ScratchDir() {
        char pattern[] = "/tmp/tandrel-e2e-XXXXXX";
        path_ = mkdtemp(pattern);
    }
    ~ScratchDir() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// Where the game keeps its records and the match in play: a scratch
// XDG_DATA_HOME of each test's own, so that no test finds another's match.
// Under Wine the game keeps them in the Wine prefix's %APPDATA%\Tandrel,
// which scripts/test-windows names in TANDREL_E2E_DATA: it is emptied before
// and after each test instead.
class GameMemory {
public:
    GameMemory() { clear(); }
    ~GameMemory() { clear(); }
    fs::path folder() const { return wineFolder.empty() ? home.path() / "tandrel" : fs::path(wineFolder); }
    std::pair<std::string, std::string> environment() const { return {"XDG_DATA_HOME", home.path().string()}; }

private:
    void clear() {
        std::error_code ignored;
        if (!wineFolder.empty()) fs::remove_all(wineFolder, ignored);
    }
    const std::string wineFolder = fromEnvironment("TANDREL_E2E_DATA", "");
    ScratchDir home;
};

// The locale is the test's own: English captions unless a test asks for another.
LaunchOptions launchIn(const std::string& dir, const GameMemory& memory, const std::string& lang = "C",
                       std::vector<std::string> args = {}) {
    return {dir, {{"LC_ALL", ""}, {"LC_MESSAGES", ""}, {"LANG", lang}, memory.environment()}, std::move(args)};
}

void expectFreshMatch(const std::array<BoardView, 2>& boards) {
    for (int b = 0; b < 2; ++b) {
        SCOPED_TRACE("board " + std::to_string(b + 1));
        EXPECT_EQ(boards[std::size_t(b)].overlay, Overlay::None);
        auto tiles = boards[std::size_t(b)].tiles();
        ASSERT_EQ(tiles.size(), 2u);
        for (int v : tiles) EXPECT_TRUE(v == 2 || v == 4) << v;
    }
    EXPECT_EQ(boards[0].tiles(), boards[1].tiles()) << "both players open with the same values";
}

// A key that moves something on a board with an empty cell: a tile with
// an empty cell beside it in that direction.
int movingDirection(const BoardView& board) {
    static const int dx[4] = {-1, 1, 0, 0}, dy[4] = {0, 0, -1, 1}; // left, right, up, down (y from top)
    for (int d = 0; d < 4; ++d)
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) {
                int nx = x + dx[d], ny = y + dy[d];
                if (board.cells[std::size_t(x + 4 * y)] > 0 && nx >= 0 && nx < 4 && ny >= 0 && ny < 4 &&
                    board.cells[std::size_t(nx + 4 * ny)] == 0)
                    return d;
            }
    return -1;
}

// A running game with its window found, focused and showing its first frame.
class GameTest : public ::testing::Test {
protected:
    void SetUp() override { launch(); }

    // Starts the game (again), with the same command line and memory.
    void launch() {
        child_.reset();
        child_.emplace(game, launchIn(buildDir, memory_, "C", args_));
        auto found = x_.findWindow("Tandrel", child_->pid(), Millis(10000));
        ASSERT_TRUE(found) << "no window titled Tandrel appeared; stderr: " << child_->stderrText();
        window_ = *found;
        x_.focus(window_);
        // Generous: the sanitizer build starts several times slower.
        auto first =
            waitFor([](const Image& image) { return near(image.at(405, 200), background, tolerance); }, Millis(15000));
        ASSERT_TRUE(first) << "the first frame never showed the background between the boards; stderr: "
                           << child_->stderrText();
    }

    std::optional<Image> shot() { return x_.capture(window_); }

    template <typename Condition>
    std::optional<Image> waitFor(Condition condition, Millis timeout = Millis(3000)) {
        return waitForImage(x_, window_, condition, timeout);
    }

    std::optional<std::array<BoardView, 2>> steadyBoards(Millis timeout = Millis(3000)) {
        return steadyBoardsOf(x_, window_, timeout);
    }

    // The game's command line.
    std::vector<std::string> args_;
    GameMemory memory_;
    XSession x_;
    std::optional<Child> child_;
    XWindow window_ = 0;
};

const char* const player1Keys[4] = {"a", "d", "w", "s"};
const char* const player2Keys[4] = {"Left", "Right", "Up", "Down"};

TEST_F(GameTest, OpensAFairMatchAndEachPlayerSteersOnlyTheirBoard) {
    auto boards = steadyBoards();
    ASSERT_TRUE(boards);
    expectFreshMatch(*boards);
    auto image = shot();
    ASSERT_TRUE(image);
    for (int y = 0; y < windowHeight; y += 7)
        for (int x = 400; x < 410; ++x) ASSERT_TRUE(near(image->at(x, y), background, tolerance)) << x << "," << y;

    // Enter means nothing while both still play.
    x_.key("Return");
    std::this_thread::sleep_for(Millis(150));
    auto afterEnter = steadyBoards();
    ASSERT_TRUE(afterEnter);
    EXPECT_EQ(*afterEnter, *boards);

    // Player 1 with a shifted letter, then player 2 with an arrow: each move
    // adds a tile to the mover's board and leaves the other board as it was.
    for (int player = 0; player < 2; ++player) {
        SCOPED_TRACE("player " + std::to_string(player + 1));
        auto before = steadyBoards();
        ASSERT_TRUE(before);
        const auto& mine = (*before)[std::size_t(player)];
        int direction = movingDirection(mine);
        ASSERT_GE(direction, 0);
        x_.key(player == 0 ? player1Keys[direction] : player2Keys[direction], player == 0);
        std::this_thread::sleep_for(Millis(150));
        auto after = steadyBoards();
        ASSERT_TRUE(after);
        EXPECT_EQ((*after)[std::size_t(1 - player)], (*before)[std::size_t(1 - player)]);
        EXPECT_NE((*after)[std::size_t(player)].cells, mine.cells);
        // Merges keep the sum of the values, so only the new tile adds to it.
        auto sum = [](const std::vector<int>& v) { return std::accumulate(v.begin(), v.end(), 0); };
        int added = sum((*after)[std::size_t(player)].tiles()) - sum(mine.tiles());
        EXPECT_TRUE(added == 2 || added == 4) << added;
    }

    EXPECT_EQ(quitWithEscape(x_, *child_), 0);
    EXPECT_EQ(child_->stderrText(), "");
}

TEST_F(GameTest, RandomPlayEndsInResultsAndEnterDealsAFreshMatch) {
    std::mt19937 random(20240611u);
    std::uniform_int_distribution<int> pick(0, 3);
    const auto deadline = Clock::now() + std::chrono::seconds(120);
    int presses = 0;
    std::optional<Image> final;
    while (presses < 3000 && Clock::now() < deadline) {
        auto image = shot();
        ASSERT_TRUE(image);
        Overlay left = overlayOf(*image, 0), right = overlayOf(*image, 1);
        if (left != Overlay::None && right != Overlay::None) {
            final = image;
            break;
        }
        // A player who is out waits under a dark overlay, told so in 0xF2B179.
        for (int b = 0; b < 2; ++b)
            if ((b == 0 ? left : right) == Overlay::Dark && (b == 0 ? right : left) == Overlay::None) {
                EXPECT_TRUE(captionShows(*image, b, rgb(0xF2B179))) << "board " << b + 1;
                EXPECT_FALSE(captionShows(*image, b, gold)) << "board " << b + 1;
            }
        if (left == Overlay::None) x_.key(player1Keys[pick(random)]), ++presses;
        if (right == Overlay::None) x_.key(player2Keys[pick(random)]), ++presses;
        std::this_thread::sleep_for(Millis(60));
    }
    ASSERT_TRUE(final) << "both games were not over after " << presses << " key presses";
    RecordProperty("presses", presses);

    // The decision is made in the frame after the second game ends; read a
    // settled frame. The winner is gold with white captions, a loser dark
    // with gold ones; a tie makes both winners.
    std::this_thread::sleep_for(Millis(150));
    auto decided = waitFor([](const Image& image) {
        for (int b = 0; b < 2; ++b) {
            Overlay o = overlayOf(image, b);
            if (o != Overlay::Dark && o != Overlay::Gold) return false;
        }
        return true;
    });
    ASSERT_TRUE(decided);
    int winners = 0;
    for (int b = 0; b < 2; ++b) {
        SCOPED_TRACE("board " + std::to_string(b + 1));
        if (overlayOf(*decided, b) == Overlay::Gold) {
            ++winners;
            EXPECT_TRUE(captionShows(*decided, b, white));
        } else {
            EXPECT_TRUE(captionShows(*decided, b, gold)) << "a loser's captions are gold";
        }
    }
    EXPECT_GE(winners, 1);

    x_.key("Return");
    std::this_thread::sleep_for(Millis(150));
    auto fresh = steadyBoards();
    ASSERT_TRUE(fresh);
    expectFreshMatch(*fresh);

    EXPECT_EQ(quitWithEscape(x_, *child_), 0);
    EXPECT_EQ(child_->stderrText(), "");
}

TEST_F(GameTest, AWindowTwiceAsLargeShowsEveryTileTwiceAsFar) {
    auto small = steadyBoards();
    ASSERT_TRUE(small);
    x_.resize(window_, 1620, 900);
    // The strip between the boards, and the far corner, drawn at twice the size.
    auto large = waitFor([](const Image& image) {
        return image.width == 1620 && image.height == 900 && near(image.at(810, 400), background, tolerance) &&
               valueOf(image.at(2 * 765, 2 * 85)) >= 0;
    });
    ASSERT_TRUE(large) << "the scene never filled the larger window";
    for (int b = 0; b < 2; ++b) {
        SCOPED_TRACE("board " + std::to_string(b + 1));
        EXPECT_EQ(readBoard(*large, b, 2).cells, (*small)[std::size_t(b)].cells);
    }
    EXPECT_EQ(quitWithEscape(x_, *child_), 0);
}

// The shortest time between two moves of the computer while a person plays.
constexpr double computerPace = 0.25;

class ComputerGameTest : public GameTest {
protected:
    ComputerGameTest() { args_ = {"--computer=easy"}; }

    // In a fresh match, with no key pressed, the computer's board moves and
    // player 1's keeps its opening. (The computer may well have moved before
    // its opening could be read.)
    void expectTheComputerMovesAlone() {
        auto moved = waitFor(
            [](const Image& image) {
                BoardView right = readBoard(image, 1);
                return right.overlay == Overlay::None && right.readable() && right.tiles().size() > 2;
            },
            Millis(5000));
        ASSERT_TRUE(moved) << "the computer's board never moved";
        const BoardView left = readBoard(*moved, 0);
        EXPECT_EQ(left.overlay, Overlay::None);
        ASSERT_EQ(left.tiles().size(), 2u) << "player 1's board moved with no key pressed";
        for (int v : left.tiles()) EXPECT_TRUE(v == 2 || v == 4) << v;
    }
};

TEST_F(ComputerGameTest, TheComputerPlaysItsBoardAloneAndFinishesOncePlayer1IsOut) {
    ASSERT_NO_FATAL_FAILURE(expectTheComputerMovesAlone());

    // Arrows pressed far faster than the computer's pace for a few seconds:
    // each move adds a 2 or a 4, so if only the computer moved, the values
    // grow by no more than four for each move its pace allows.
    auto sum = [](const std::vector<int>& v) { return std::accumulate(v.begin(), v.end(), 0); };
    const auto start = Clock::now();
    auto before = steadyBoards();
    ASSERT_TRUE(before);
    for (int press = 0; press < 300; ++press) {
        x_.key(player2Keys[press % 4]);
        std::this_thread::sleep_for(Millis(10));
    }
    auto after = steadyBoards();
    ASSERT_TRUE(after);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    EXPECT_EQ((*after)[0], (*before)[0]);
    EXPECT_LE(sum((*after)[1].tiles()) - sum((*before)[1].tiles()), 4 * (int(seconds / computerPace) + 1))
        << "in " << seconds << " s";

    // Player 1 plays until out; the computer then finishes at full speed.
    std::mt19937 random(20261209u);
    std::uniform_int_distribution<int> pick(0, 3);
    const auto deadline = Clock::now() + std::chrono::seconds(90);
    while (Clock::now() < deadline) {
        auto image = shot();
        ASSERT_TRUE(image);
        if (overlayOf(*image, 0) != Overlay::None) break;
        x_.key(player1Keys[pick(random)]);
        std::this_thread::sleep_for(Millis(40));
    }
    auto decided = waitFor(
        [](const Image& image) {
            for (int b = 0; b < 2; ++b)
                if (Overlay o = overlayOf(image, b); o != Overlay::Dark && o != Overlay::Gold) return false;
            return true;
        },
        Millis(60000));
    ASSERT_TRUE(decided) << "the match was never decided";
    EXPECT_TRUE(overlayOf(*decided, 0) == Overlay::Gold || overlayOf(*decided, 1) == Overlay::Gold);

    // Recorded, with the tally against easy, while the window stays open.
    std::string printed;
    for (int tries = 0; tries < 50 && printed.find("  easy ") == std::string::npos; ++tries) {
        std::this_thread::sleep_for(Millis(100));
        Child records(game, launchIn(buildDir, memory_, "C", {"--records"}));
        ASSERT_EQ(records.wait(Millis(10000)), 0);
        printed = asOnLinux(records.stdoutText());
    }
    const std::size_t tally = printed.find("A person against the computer");
    ASSERT_NE(tally, std::string::npos) << printed;
    int won = -1, lost = -1, tied = -1;
    EXPECT_EQ(std::sscanf(printed.c_str() + printed.find('\n', tally) + 1, "  easy %d %d %d", &won, &lost, &tied), 3)
        << printed;
    EXPECT_EQ(won + lost + tied, 1) << printed;

    x_.key("Return");
    expectTheComputerMovesAlone();

    // Escape mid-search still ends the program normally.
    EXPECT_EQ(quitWithEscape(x_, *child_), 0);
    EXPECT_EQ(child_->stderrText(), "");
}

// A board's score and the caption line above it, as pixels.
std::vector<std::uint32_t> scoreStrip(const Image& image, int board) {
    std::vector<std::uint32_t> strip;
    for (int y = windowHeight - 50; y < windowHeight; ++y)
        for (int x = boardLeft[board]; x < boardLeft[board] + 400; ++x)
            strip.push_back(image.pixels[std::size_t(y) * std::size_t(image.width) + std::size_t(x)]);
    return strip;
}

TEST_F(GameTest, AMatchClosedMidwayGoesOnAtTheNextStartAsIfNeverInterrupted) {
    struct Seen {
        std::array<BoardView, 2> boards;
        std::vector<std::uint32_t> scores[2];
    };
    const auto seen = [this]() -> Seen {
        auto boards = steadyBoards();
        auto image = shot();
        if (!boards || !image) ADD_FAILURE() << "the boards never came to rest";
        return {boards.value_or(std::array<BoardView, 2>{}), {scoreStrip(*image, 0), scoreStrip(*image, 1)}};
    };
    const auto play = [this](std::initializer_list<const char*> keys) {
        for (const char* key : keys) {
            x_.key(key);
            std::this_thread::sleep_for(Millis(150));
            steadyBoards();
        }
    };
    const auto expectSame = [](const Seen& a, const Seen& b) {
        EXPECT_EQ(a.boards, b.boards);
        for (int board = 0; board < 2; ++board) EXPECT_TRUE(a.scores[board] == b.scores[board]) << "board " << board;
    };
    const auto firstHalf = {"d", "Right", "w", "Up"};
    const auto secondHalf = {"a", "Left", "s", "Down", "d", "Right"};

    play({"a", "Left", "s", "Down"});
    const Seen closed = seen();
    x_.requestClose(window_);
    ASSERT_EQ(child_->wait(Millis(5000)), 0);
    ScratchDir kept;
    fs::copy(memory_.folder(), kept.path(), fs::copy_options::recursive);

    // Interrupted twice: closed, then ended with Escape mid-match.
    ASSERT_NO_FATAL_FAILURE(launch());
    expectSame(seen(), closed);
    play(firstHalf);
    ASSERT_EQ(quitWithEscape(x_, *child_), 0);
    ASSERT_NO_FATAL_FAILURE(launch());
    play(secondHalf);
    const Seen interrupted = seen();
    ASSERT_EQ(quitWithEscape(x_, *child_), 0);

    // From the same kept match, never interrupted.
    fs::remove_all(memory_.folder());
    fs::copy(kept.path(), memory_.folder(), fs::copy_options::recursive);
    ASSERT_NO_FATAL_FAILURE(launch());
    expectSame(seen(), closed);
    play(firstHalf);
    play(secondHalf);
    expectSame(seen(), interrupted);
    EXPECT_EQ(quitWithEscape(x_, *child_), 0);
    EXPECT_EQ(child_->stderrText(), "");
}

TEST_F(GameTest, ClosingTheWindowEndsTheProgramNormally) {
    x_.requestClose(window_);
    auto status = child_->wait(Millis(5000));
    ASSERT_TRUE(status) << "still running after the close request";
    EXPECT_EQ(*status, 0);
    EXPECT_EQ(child_->stderrText(), "");
}

TEST(GameFailure, StartUpErrorsEndWithOneLineAndStatus1) {
    {
        SCOPED_TRACE("no font under the working directory");
        ScratchDir dir;
        fs::create_directory_symlink(fs::path(buildDir) / "locale", dir.path() / "locale");
        Child child(game, launchIn(dir.path(), GameMemory()));
        auto status = child.wait(Millis(10000));
        ASSERT_TRUE(status);
        EXPECT_EQ(*status, 1);
        EXPECT_EQ(asOnLinux(child.stderrText()),
                  "tandrel: Cannot find font file ./data/fonts/clearsans/ClearSans-Bold.ttf\n");
    }
    {
        SCOPED_TRACE("a language file whose second line lacks its equals sign");
        ScratchDir dir;
        fs::create_directory_symlink(fs::path(buildDir) / "data", dir.path() / "data");
        fs::create_directory(dir.path() / "locale");
        // A language Windows knows too: under Wine the locale comes from
        // GetLocaleInfoA, which answers only for real ones.
        std::ofstream(dir.path() / "locale" / "de_DE.lang") << "\"Score\" = \"Punkte\"\n"
                                                               "\"Game Over\" \"Aus\"\n";
        Child child(game, launchIn(dir.path(), GameMemory(), "de_DE.UTF-8"));
        auto status = child.wait(Millis(10000));
        ASSERT_TRUE(status);
        EXPECT_EQ(*status, 1);
        // File and line named once, before the parser's own message.
        EXPECT_EQ(asOnLinux(child.stderrText()), "tandrel: locale/de_DE.lang, line 2: Expected `=' after the key\n");
    }
}

// A port nothing listens on now: bound on the loopback, read back, let go.
std::uint16_t freePort() {
    std::uint16_t port = 0;
    close(tandrel::test::boundOnLoopback(port));
    EXPECT_NE(port, 0);
    return port;
}

// The headline over a board that tells what the network is doing, in the
// gold of the captions, above the tiles' second row.
bool noticeShows(const Image& image, int board) {
    return image.contains(boardLeft[board] + 20, 15, boardLeft[board] + 380, 45, gold, 6);
}

// A host and a joiner, each in a window of its own with a memory of its own.
class NetworkTest : public ::testing::Test {
protected:
    struct Side {
        std::optional<Child> child;
        XWindow window = 0;
        GameMemory memory;
    };

    // The host's window above the joiner's.
    void start(Side& side, const std::string& program, const std::string& dir, const std::string& arg) {
        side.child.emplace(program, launchIn(dir, side.memory, "C", {arg}));
        auto found = x_.findWindow("Tandrel", side.child->pid(), Millis(10000));
        ASSERT_TRUE(found) << arg << ": no window; stderr: " << side.child->stderrText();
        side.window = *found;
        x_.move(side.window, 0, &side == &host_ ? 0 : windowHeight + 40);
    }

    // The host waits, says so, and the joiner joins `port` (the host's, or a
    // relay's in front of it); both then show the same fresh match.
    void startMatch(std::uint16_t joinPort) {
        ASSERT_NO_FATAL_FAILURE(start(host_, linuxGame, E2E_BUILD_DIR, "--host=" + std::to_string(hostPort_)));
        ASSERT_TRUE(waitForImage(
            x_, host_.window, [](const Image& i) { return noticeShows(i, 1); }, Millis(15000)))
            << "the host never said it waits; stderr: " << host_.child->stderrText();
        ASSERT_NO_FATAL_FAILURE(start(joiner_, game, buildDir, "--join=127.0.0.1:" + std::to_string(joinPort)));
        const auto dealt = [](const Image& i) {
            return !noticeShows(i, 0) && !noticeShows(i, 1) && readBoard(i, 0).readable() && readBoard(i, 1).readable();
        };
        for (Side* side : {&host_, &joiner_})
            ASSERT_TRUE(waitForImage(x_, side->window, dealt, Millis(15000)))
                << "no match began; stderr: " << side->child->stderrText();
        const auto boards = agreed();
        ASSERT_TRUE(boards);
        expectFreshMatch(*boards);
    }

    // The same two grids at rest on both screens.
    std::optional<std::array<BoardView, 2>> agreed(Millis timeout = Millis(5000)) {
        const auto end = Clock::now() + timeout;
        do {
            auto onHost = steadyBoardsOf(x_, host_.window);
            auto onJoiner = steadyBoardsOf(x_, joiner_.window);
            if (onHost && onJoiner && *onHost == *onJoiner) return onHost;
        } while (Clock::now() < end);
        return std::nullopt;
    }

    // A key in a side's window that moves its own board.
    void move(Side& side, int board, const std::array<BoardView, 2>& boards, const char* const keys[4]) {
        const int direction = movingDirection(boards[std::size_t(board)]);
        ASSERT_GE(direction, 0);
        x_.focus(side.window);
        x_.key(keys[direction]);
    }

    // The side's window says over the other's board that the other left,
    // within the time the player is promised, and says it on stderr once.
    void expectToldOfLeaving(Side& side, int board) {
        const auto shown = [board](const Image& i) { return noticeShows(i, board); };
        const auto told = waitForImage(x_, side.window, shown, Millis(5000));
        ASSERT_TRUE(told) << "never told the other side left";
        EXPECT_EQ(overlayOf(*told, board), Overlay::Dark) << "the leaver's board is out";
        std::string said;
        for (int tries = 0; tries < 20 && said.find('\n') == std::string::npos; ++tries) {
            said = asOnLinux(side.child->stderrText());
            std::this_thread::sleep_for(Millis(50));
        }
        EXPECT_TRUE(said.starts_with("tandrel: ")) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    }

    XSession x_;
    const std::uint16_t hostPort_ = freePort();
    Side host_, joiner_;
};

TEST(NetworkFailure, AJoinNobodyAnswersEndsWithOneLineAndStatus1) {
    GameMemory memory;
    Child child(game, launchIn(buildDir, memory, "C", {"--join=127.0.0.1:" + std::to_string(freePort())}));
    ASSERT_EQ(child.wait(Millis(15000)), 1);
    const std::string said = asOnLinux(child.stderrText());
    EXPECT_TRUE(said.starts_with("tandrel: ") && said.find("127.0.0.1") != std::string::npos) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
}

TEST_F(NetworkTest, EachSteersTheirOwnBoardAndBothScreensShowTheSameMatch) {
    ASSERT_NO_FATAL_FAILURE(startMatch(hostPort_));
    // Either set of keys steers this side's own board: the host's the left,
    // the joiner's the right. The host plays first, then the joiner: the
    // game under Wine takes no keys once the keyboard came back to it from
    // another window, which no window manager hands over here.
    for (int turn = 0; turn < 8; ++turn) {
        SCOPED_TRACE("turn " + std::to_string(turn));
        const int board = turn / 4;
        Side& side = board == 0 ? host_ : joiner_;
        const auto before = agreed();
        ASSERT_TRUE(before);
        ASSERT_NO_FATAL_FAILURE(move(side, board, *before, turn % 2 == 0 ? player2Keys : player1Keys));
        std::this_thread::sleep_for(Millis(150));
        const auto after = agreed();
        ASSERT_TRUE(after) << "the two screens disagree";
        EXPECT_NE((*after)[std::size_t(board)], (*before)[std::size_t(board)]);
        EXPECT_EQ((*after)[std::size_t(1 - board)], (*before)[std::size_t(1 - board)]);
    }
    x_.requestClose(joiner_.window);
    EXPECT_EQ(joiner_.child->wait(Millis(5000)), 0);
    expectToldOfLeaving(host_, 1);
    x_.focus(host_.window);
    EXPECT_EQ(quitWithEscape(x_, *host_.child), 0);
}

// Between the joiner and the host: holds every chunk for a delay before
// passing it on, until cut.
class Relay {
public:
    static constexpr Millis delay{200};

    Relay(std::uint16_t target) : listener(socket(AF_INET, SOCK_STREAM, 0)), target(target) {
        sockaddr_in address = loopback(0);
        socklen_t size = sizeof address;
        bind(listener, reinterpret_cast<sockaddr*>(&address), size);
        listen(listener, 1);
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);
        port = ntohs(address.sin_port);
        thread = std::thread([this] { run(); });
    }
    ~Relay() {
        cut = true;
        thread.join();
        close(listener);
    }

    std::uint16_t port = 0;
    std::atomic<bool> cut = false;

private:
    static sockaddr_in loopback(std::uint16_t port) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(port);
        return address;
    }

    struct Chunk {
        Clock::time_point due;
        std::string bytes;
    };

    void run() {
        pollfd waiting{listener, POLLIN, 0};
        const auto end = Clock::now() + std::chrono::seconds(90);
        while (!cut && Clock::now() < end && poll(&waiting, 1, 50) == 0) {
        }
        if (cut || !(waiting.revents & POLLIN)) return;
        const int ends[2] = {accept(listener, nullptr, nullptr), socket(AF_INET, SOCK_STREAM, 0)};
        sockaddr_in host = loopback(target);
        connect(ends[1], reinterpret_cast<sockaddr*>(&host), sizeof host);
        std::deque<Chunk> held[2];
        bool open = true;
        while (open && !cut && Clock::now() < end) {
            pollfd fds[2] = {{ends[0], POLLIN, 0}, {ends[1], POLLIN, 0}};
            poll(fds, 2, 10);
            for (int from = 0; from < 2; ++from) {
                if (!(fds[from].revents & (POLLIN | POLLHUP | POLLERR))) continue;
                char buffer[4096];
                const ssize_t n = read(ends[from], buffer, sizeof buffer);
                if (n <= 0)
                    open = false;
                else
                    held[from].push_back({Clock::now() + delay, std::string(buffer, std::size_t(n))});
            }
            for (int from = 0; from < 2; ++from)
                while (!held[from].empty() && held[from].front().due <= Clock::now()) {
                    const std::string& bytes = held[from].front().bytes;
                    if (write(ends[1 - from], bytes.data(), bytes.size()) != ssize_t(bytes.size())) open = false;
                    held[from].pop_front();
                }
        }
        for (int fd : ends) close(fd);
    }

    int listener;
    std::uint16_t target;
    std::thread thread;
};

TEST_F(NetworkTest, OwnBoardKeepsItsPaceOverASlowLinkAndACutIsReported) {
    Relay relay(hostPort_);
    ASSERT_NO_FATAL_FAILURE(startMatch(relay.port));
    for (int turn = 0; turn < 3; ++turn) {
        SCOPED_TRACE("turn " + std::to_string(turn));
        const auto before = agreed();
        ASSERT_TRUE(before);
        const auto pressed = Clock::now();
        ASSERT_NO_FATAL_FAILURE(move(joiner_, 1, *before, player1Keys));
        // The joiner's own board has ended its slide while its move is still
        // held on the way; the host's copy follows once the delay passed.
        const auto moved = [&before](const Image& i) {
            const BoardView mine = readBoard(i, 1);
            return mine.readable() && mine != (*before)[1];
        };
        ASSERT_TRUE(waitForImage(x_, joiner_.window, moved, Millis(2000)));
        const auto slid = Clock::now() - pressed;
        ASSERT_TRUE(waitForImage(x_, host_.window, moved, Millis(2000)));
        const auto followed = Clock::now() - pressed;
        EXPECT_LT(slid, Relay::delay) << "the own board waited for the network";
        EXPECT_GE(followed, Relay::delay);
        RecordProperty("slide_ms_" + std::to_string(turn), int(std::chrono::duration_cast<Millis>(slid).count()));
        RecordProperty("followed_ms_" + std::to_string(turn),
                       int(std::chrono::duration_cast<Millis>(followed).count()));
        ASSERT_TRUE(agreed()) << "the grids disagree once the delay passed";
    }
    relay.cut = true;
    expectToldOfLeaving(host_, 1);
    expectToldOfLeaving(joiner_, 0);
    for (Side* side : {&joiner_, &host_}) {
        x_.focus(side->window);
        EXPECT_EQ(quitWithEscape(x_, *side->child), 0);
    }
}

} // namespace
