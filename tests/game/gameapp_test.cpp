#include <gtest/gtest.h>

#include "binding/sdl/sdl.hpp"
#include "fixtures/display.hpp"
#include "game/gameapp.hpp"
#include "game/memory/report.hpp"
#include "memory/memory_fixture.hpp"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstring>
#include <initializer_list>
#include <sstream>
#include <thread>
#include <vector>

namespace tandrel {
namespace {

// Key presses pushed into SDL's queue, as the keyboard would deliver them.
// With `typed`, the character SDL reports once Unicode is enabled.
void pushKey(int sym, int mod = KMOD_NONE, Uint16 typed = 0, Uint8 type = SDL_KEYDOWN) {
    SDL_Event event{};
    event.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = static_cast<SDLKey>(sym);
    event.key.keysym.mod = static_cast<SDLMod>(mod);
    event.key.keysym.unicode = typed;
    ASSERT_EQ(sdl.SDL_PushEvent(&event), 0);
}

// A gamepad's control as SDL's joystick driver would queue it; `which` is the pad.
void pushPad(Uint8 type, int which, int control, int value) {
    SDL_Event event{};
    event.type = type;
    if (type == SDL_JOYHATMOTION)
        event.jhat = {type, Uint8(which), Uint8(control), Uint8(value)};
    else if (type == SDL_JOYAXISMOTION)
        event.jaxis = {type, Uint8(which), Uint8(control), Sint16(value)};
    else
        event.jbutton = {type, Uint8(which), Uint8(control), SDL_PRESSED};
    ASSERT_EQ(sdl.SDL_PushEvent(&event), 0);
}

std::vector<std::uint32_t> values(const Board& board) {
    std::vector<std::uint32_t> found;
    for (std::uint32_t x = 0; x < 4; ++x)
        for (std::uint32_t y = 0; y < 4; ++y)
            if (board.grid(x, y)) found.push_back(board.grid(x, y));
    std::sort(found.begin(), found.end());
    return found;
}

// One lone 2 in the top-right cell: a, or the left arrow, moves it.
void setLoneTile(Board& board) {
    board.grid.clear();
    board.grid.set(2, 3, 0);
}

// A full board without equal neighbours: no direction changes it.
void setStuck(Board& board) {
    for (std::uint32_t x = 0; x < 4; ++x)
        for (std::uint32_t y = 0; y < 4; ++y) board.grid.set((x + y) % 2 ? 2 : 4, x, y);
}

struct GameAppTest : ::testing::Test {
    void SetUp() override {
        test::requireDisplay();
        app = std::make_unique<GameApp>();
    }
    void TearDown() override { app.reset(); }

    // One pass of the main loop.
    void pass() {
        app->eventManager->update();
        app->drawFrame();
    }
    // Passes until both boards' slides have ended.
    void settle() {
        for (int i = 0; i < 100 && (app->leftBoard->state == BoardState::Animating ||
                                    app->rightBoard->state == BoardState::Animating);
             ++i)
            pass();
    }
    Board& left() { return *app->leftBoard; }
    Board& right() { return *app->rightBoard; }

    std::unique_ptr<GameApp> app;
};

TEST_F(GameAppTest, OpensWithTheSameTwoValuesOnBothBoards) {
    EXPECT_EQ(left().position, Vector2f(0, 0));
    EXPECT_EQ(right().position, Vector2f(410, 0));
    const auto opening = values(left());
    ASSERT_EQ(opening.size(), 2u);
    for (auto v : opening) EXPECT_TRUE(v == 2 || v == 4);
    EXPECT_EQ(values(right()), opening);
    pass();
    EXPECT_TRUE(test::pixelNear(405, 200, 0xBBADA0)); // the strip between the boards
}

TEST_F(GameAppTest, EachPlayersKeysMoveOnlyTheirBoard) {
    struct Case {
        int key;
        Board& moved;
        Board& still;
    };
    for (const Case& c : {Case{SDLK_a, left(), right()}, Case{SDLK_LEFT, right(), left()}}) {
        setLoneTile(c.moved);
        setLoneTile(c.still);
        pushKey(c.key);
        pass();
        settle();
        EXPECT_EQ(c.moved.grid(0, 0), 2u);
        EXPECT_EQ(c.still.grid(3, 0), 2u);
        EXPECT_EQ(values(c.still), (std::vector<std::uint32_t>{2}));
    }

    // Both in one pass: each board moves once.
    setLoneTile(left());
    setLoneTile(right());
    pushKey(SDLK_a);
    pushKey(SDLK_LEFT);
    pass();
    EXPECT_EQ(left().grid(0, 0), 2u);
    EXPECT_EQ(right().grid(0, 0), 2u);
    EXPECT_EQ(values(left()).size(), 2u);
    EXPECT_EQ(values(right()).size(), 2u);
}

TEST_F(GameAppTest, EachGamepadSteersItsBoardOncePerPush) {
    setLoneTile(left());
    setLoneTile(right());
    pushPad(SDL_JOYHATMOTION, 0, 0, SDL_HAT_LEFT);
    pushPad(SDL_JOYBUTTONDOWN, 0, 0, 0); // means nothing while both play
    pass();
    settle();
    EXPECT_EQ(left().grid(0, 0), 2u) << "the first pad's d-pad moves the left board";
    EXPECT_EQ(values(right()), (std::vector<std::uint32_t>{2}));
    EXPECT_TRUE(app->eventManager->running);

    // The second pad's stick pushed and held, then pushed further: one move.
    pushPad(SDL_JOYAXISMOTION, 1, 0, -30000);
    pass();
    settle();
    EXPECT_EQ(right().grid(0, 0), 2u);
    setLoneTile(right());
    pushPad(SDL_JOYAXISMOTION, 1, 0, -32768);
    pass();
    EXPECT_EQ(right().grid(3, 0), 2u) << "a held stick repeated";

    // Back to the centre, then a slight deflection: nothing; a full push again moves.
    pushPad(SDL_JOYAXISMOTION, 1, 0, 0);
    pushPad(SDL_JOYAXISMOTION, 1, 1, 12000);
    pass();
    EXPECT_EQ(right().state, BoardState::Idle);
    EXPECT_EQ(right().grid(3, 0), 2u) << "a slight deflection moved";
    pushPad(SDL_JOYAXISMOTION, 1, 1, 0);
    pushPad(SDL_JOYAXISMOTION, 1, 0, -20000);
    pass();
    EXPECT_EQ(right().grid(0, 0), 2u);
}

TEST_F(GameAppTest, ADPadRolledThroughADiagonalMovesOnceUntilItComesBackToTheCentre) {
    setLoneTile(left());
    pushPad(SDL_JOYHATMOTION, 0, 0, SDL_HAT_LEFT);
    pass();
    settle();
    ASSERT_EQ(left().grid(0, 0), 2u);
    // A lone tile where a second left would show.
    left().grid.clear();
    left().grid.set(2, 3, 3);
    pushPad(SDL_JOYHATMOTION, 0, 0, SDL_HAT_LEFT | SDL_HAT_UP);
    pass();
    pushPad(SDL_JOYHATMOTION, 0, 0, SDL_HAT_LEFT);
    pass();
    EXPECT_EQ(left().grid(3, 3), 2u) << "the roll back to left slid again";
    pushPad(SDL_JOYHATMOTION, 0, 0, SDL_HAT_CENTERED);
    pushPad(SDL_JOYHATMOTION, 0, 0, SDL_HAT_LEFT);
    pass();
    EXPECT_EQ(left().grid(0, 3), 2u);
}

TEST_F(GameAppTest, ShiftedLettersCountAndOtherKeysDoNothing) {
    setLoneTile(left());
    setLoneTile(right());
    pushKey(SDLK_RETURN);
    pushKey(SDLK_KP_ENTER);
    pushKey(SDLK_q);
    pass();
    EXPECT_EQ(left().state, BoardState::Idle);
    EXPECT_EQ(right().state, BoardState::Idle);
    EXPECT_EQ(values(left()), (std::vector<std::uint32_t>{2}));

    pushKey(SDLK_a, KMOD_LSHIFT | KMOD_CAPS); // SDL reports A by its lower-case symbol
    pass();
    EXPECT_EQ(left().grid(0, 0), 2u);
}

TEST_F(GameAppTest, APlayerWhoIsOutGetsNoMovesWhileTheOtherPlaysOn) {
    setLoneTile(left());
    setLoneTile(right());
    left().gameOver = true;
    pushKey(SDLK_a);
    pushKey(SDLK_LEFT);
    pass();
    EXPECT_EQ(left().grid(3, 0), 2u);
    EXPECT_EQ(left().state, BoardState::Idle);
    EXPECT_EQ(right().grid(0, 0), 2u);
    EXPECT_FALSE(app->matchOver);
}

TEST_F(GameAppTest, EnterQueuedBehindTheDecidingMoveDoesNothingAndLaterDealsAFreshMatch) {
    left().gameOver = true;
    left().score = 100;
    setStuck(right());
    right().score = 40;
    pushKey(SDLK_LEFT);   // nothing moves on a full board: player 2 is out
    pushKey(SDLK_RETURN); // same pass: the match is not decided yet
    pass();
    ASSERT_TRUE(right().gameOver);
    EXPECT_TRUE(app->matchOver);
    EXPECT_EQ(left().state, BoardState::Decided);
    EXPECT_EQ(right().state, BoardState::Decided);
    EXPECT_TRUE(left().winner);
    EXPECT_FALSE(right().winner);
    EXPECT_EQ(left().score, 100);

    pushKey(SDLK_KP_ENTER);
    pushKey(SDLK_a);
    pass();
    EXPECT_TRUE(app->matchOver);
    EXPECT_EQ(right().score, 40);

    pushKey(SDLK_RETURN);
    pass();
    EXPECT_FALSE(app->matchOver);
    for (Board* board : {&left(), &right()}) {
        EXPECT_FALSE(board->gameOver);
        EXPECT_FALSE(board->winner);
        EXPECT_EQ(board->score, 0);
        EXPECT_EQ(board->state, BoardState::Idle);
    }
    EXPECT_EQ(values(left()).size(), 2u);
    EXPECT_EQ(values(left()), values(right()));
}

TEST_F(GameAppTest, EqualScoresMakeBothWinners) {
    left().gameOver = right().gameOver = true;
    left().score = right().score = 64;
    pass();
    EXPECT_TRUE(left().winner);
    EXPECT_TRUE(right().winner);
    left().score = 0; // deciding again never clears a flag
    pass();
    EXPECT_TRUE(left().winner);
}

// Passes until the board's grid changes, for at most `seconds` of real time;
// the number of passes it took, or -1.
int passesUntilMoved(GameAppTest& test, Board& board, double seconds) {
    const BoardArray before = board.grid;
    const std::uint32_t start = sdl.SDL_GetTicks();
    for (int passes = 1; sdl.SDL_GetTicks() - start < seconds * 1000; ++passes) {
        test.pass();
        if (std::memcmp(&before, &board.grid, sizeof before) != 0) return passes;
    }
    return -1;
}

TEST_F(GameAppTest, F2ChoosesTheComputerForTheNextMatchWhichThenSteersPlayer2) {
    EXPECT_EQ(app->playerLines[0]->text, "F3: Network match");
    EXPECT_EQ(app->playerLines[1]->text, "F2: play the computer");
    pushKey(SDLK_F2);
    pushKey(SDLK_F2);
    pass();
    EXPECT_EQ(app->playerLines[1]->text, "next: normal");
    // This match stays a person's.
    setLoneTile(right());
    pushKey(SDLK_LEFT);
    pass();
    EXPECT_EQ(right().grid(0, 0), 2u);
    settle();

    // Once both are out the choice applies at once, and Enter deals a match
    // the computer plays, from the same opening as player 1.
    left().gameOver = right().gameOver = true;
    pass();
    pushKey(SDLK_F2);
    pass();
    EXPECT_EQ(app->players[1], computer::Level::Hard);
    EXPECT_EQ(app->playerLines[1]->text, "Computer (hard) \u00B7 F2");
    pushKey(SDLK_RETURN);
    pass();
    EXPECT_EQ(values(left()), values(right()));

    // The arrows do nothing; the computer moves alone, at a person's pace
    // while player 1 plays, as soon as the board rests once player 1 is out.
    setLoneTile(right());
    pushKey(SDLK_LEFT);
    pass();
    EXPECT_EQ(right().grid(3, 0), 2u);
    EXPECT_GT(passesUntilMoved(*this, right(), 1.0), -1) << "the computer never moved";
    EXPECT_EQ(passesUntilMoved(*this, right(), 0.1), -1) << "moved again before its pause";
    settle();
    left().gameOver = true;
    EXPECT_GT(passesUntilMoved(*this, right(), 0.1), -1) << "waited for the pause with nobody to follow";
}

// Keys typed into the panel are the address and move no board; a bad one is
// said in the panel, and Escape, pressed and released, closes only the panel.
TEST_F(GameAppTest, ThePanelTakesTheTypedAddressAndEscapeClosesOnlyIt) {
    const auto before = values(left());
    pushKey(SDLK_F3);
    pass();
    ASSERT_TRUE(app->panel->open);
    for (char c : std::string("::1:x"))
        pushKey(c == ':' ? int{SDLK_COLON} : int{c}, c == ':' ? KMOD_LSHIFT : KMOD_NONE, static_cast<Uint16>(c));
    pushKey(SDLK_a, KMOD_NONE, 'a');
    pushKey(SDLK_BACKSPACE);
    pushKey(SDLK_RETURN);
    pass();
    EXPECT_EQ(app->panel->address(), "::1:x");
    EXPECT_TRUE(app->panel->open) << "no address, so nothing to join";
    EXPECT_FALSE(app->network);
    EXPECT_EQ(values(left()), before);
    pushKey(SDLK_ESCAPE);
    pushKey(SDLK_ESCAPE, KMOD_NONE, 0, SDL_KEYUP);
    pass();
    EXPECT_FALSE(app->panel->open);
    EXPECT_TRUE(app->eventManager->running);
}

TEST_F(GameAppTest, EscapeEndsTheGameWhilePlayingAndOnceDecided) {
    pushKey(SDLK_ESCAPE);
    pass();
    EXPECT_FALSE(app->eventManager->running);

    app->eventManager->running = true;
    left().gameOver = right().gameOver = true;
    pass();
    ASSERT_TRUE(app->matchOver);
    pushKey(SDLK_ESCAPE);
    app->run(); // returns: the loop ended by itself
    EXPECT_FALSE(app->eventManager->running);
}

TEST_F(GameAppTest, ADecidedMatchAgainstTheComputerIsRecordedWithTheTallyAndEachBest) {
    memory::test::ScratchFolder folder;
    std::vector<std::string> lines;
    memory::Keeper keeper(memory::test::options(folder.path(), lines));
    app.reset();
    app = std::make_unique<GameApp>(std::array<Player, 2>{std::nullopt, computer::Level::Hard}, false, &keeper);
    EXPECT_EQ(app->playerLines[0]->text, "F3: Network match");
    left().gameOver = right().gameOver = true;
    left().score = 300;
    right().score = 200;
    pass();
    ASSERT_TRUE(app->matchOver);
    for (int i = 0; i < 500 && left().resultNote().empty(); ++i) {
        sdl.SDL_Delay(10);
        pass();
    }
    EXPECT_EQ(left().resultNote(), "hard: you 1, computer 0");
    EXPECT_EQ(right().resultNote(), left().resultNote());
    EXPECT_EQ(app->playerLines[0]->text, "Best: 300 \u00B7 F3: Network match");
    EXPECT_EQ(app->playerLines[1]->text, "Best: 200 \u00B7 Computer (hard) \u00B7 F2");
    // A new match shows no tally until it is decided.
    pushKey(SDLK_RETURN);
    pass();
    EXPECT_EQ(left().resultNote(), "");

    std::ostringstream printed;
    EXPECT_EQ(memory::printRecords(folder.path(), printed, [](const std::string&) {}), 0);
    EXPECT_NE(printed.str().find("  hard                             1     0     0\n"), std::string::npos)
        << printed.str();
    EXPECT_EQ(lines, std::vector<std::string>{});
    app.reset(); // before the keeper it uses
}

// Frames counted at the swap, with what the left board showed in each.
struct SwapWatch {
    static inline void (*realSwap)() = nullptr;
    static inline const Board* board = nullptr;
    static inline std::atomic<int> frames = 0;
    static inline int slideFrames = 0;
    // Whether each cell of the last frame showed a tile, x + 4 y.
    static inline std::array<bool, 16> shown{};

    static void swap() {
        ++frames;
        slideFrames += board->state == BoardState::Animating;
        for (std::uint32_t y = 0; y < 4; ++y)
            for (std::uint32_t x = 0; x < 4; ++x) {
                // Clear of the number, inside the tile.
                const Vector2f at = board->cellCenter(x, y) + Vector2f(-35, 35);
                shown[x + 4 * y] = !test::pixelNear(int(at.x), int(at.y), 0xCDC0B4, 3);
            }
        realSwap();
    }
};

TEST_F(GameAppTest, DrawsNoFrameWhileNothingMovesAndEverySlideToItsEnd) {
    setLoneTile(left());
    SwapWatch::realSwap = sdl.SDL_GL_SwapBuffers;
    SwapWatch::board = &left();
    sdl.SDL_GL_SwapBuffers = &SwapWatch::swap;
    int idleFrames = -1;
    // A player at the keyboard, on a thread of its own since run() keeps
    // the main one: SDL's queue takes events from any thread.
    std::thread player([&] {
        using namespace std::chrono_literals;
        std::this_thread::sleep_for(300ms); // the opening frames, exposure and focus
        const int before = SwapWatch::frames;
        std::this_thread::sleep_for(700ms);
        idleFrames = SwapWatch::frames - before;
        pushKey(SDLK_a);
        std::this_thread::sleep_for(700ms);
        pushKey(SDLK_ESCAPE);
    });
    app->run();
    player.join();
    sdl.SDL_GL_SwapBuffers = SwapWatch::realSwap;

    EXPECT_EQ(idleFrames, 0);
    // 300 pixels at 3300 a second, at the display's pace.
    EXPECT_GE(SwapWatch::slideFrames, 3) << "the slide was not drawn frame by frame";
    ASSERT_EQ(left().grid(0, 0), 2u);
    ASSERT_EQ(values(left()).size(), 2u);
    for (std::uint32_t y = 0; y < 4; ++y)
        for (std::uint32_t x = 0; x < 4; ++x)
            EXPECT_EQ(SwapWatch::shown[x + 4 * y], left().grid(x, y) != 0) << "cell " << x << ", " << y;
}

} // namespace
} // namespace tandrel
