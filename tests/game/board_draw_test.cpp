#include <gtest/gtest.h>

#include "game/board.hpp"

#include "fixtures/board_fixture.hpp"

#include <string>
#include <vector>

namespace tandrel {
namespace {

using test::Call;

struct Square {
    Vector2f centre;
    Color4f color;
};

struct Text {
    std::string text;
    Color4f color;
    Vector2f anchor;
    bool operator==(const Text&) const = default;
};

struct Fill {
    Color4f color;
    Vector2f origin;
    std::vector<Vector2f> corners;
};

// One frame read back from the log: tile squares, overlay fills and texts,
// each with the colour current when it was drawn, and their order.
struct Frame {
    std::vector<Square> squares;
    std::vector<Fill> fills;
    std::vector<Text> texts;
    std::string order; // 's' square, 'f' fill, 't' text

    std::vector<Text> numbers() const { return {texts.begin(), texts.end() - 1}; }
};

Frame readFrame(const std::vector<Call>& log) {
    Frame frame;
    Color4f color;
    Vector2f pushedAt;
    bool afterPush = false, identity = false;
    for (std::size_t i = 0; i < log.size(); ++i) {
        const Call& c = log[i];
        const auto arg = [&](std::size_t n) { return static_cast<float>(c.args[n]); };
        if (c.name == "glColor4f") {
            color = Color4f(arg(0), arg(1), arg(2), arg(3));
        } else if (c.name == "glPushMatrix") {
            afterPush = true;
            identity = false;
        } else if (c.name == "glLoadIdentity") {
            identity = true;
        } else if (c.name == "glTranslatef" && afterPush) {
            pushedAt = Vector2f(arg(0), arg(1));
            afterPush = false;
        } else if (c.name == "glScalef" && arg(0) == 90) {
            frame.squares.push_back({pushedAt, color});
            frame.order += 's';
        } else if (c.name == "glBegin" && identity) {
            Fill fill{color, pushedAt, {}};
            for (std::size_t v = i + 1; v < log.size() && log[v].name == "glVertex2f"; ++v)
                fill.corners.emplace_back(float(log[v].args[0]), float(log[v].args[1]));
            frame.fills.push_back(fill);
            frame.order += 'f';
        } else if (c.name.starts_with("text ")) {
            frame.texts.push_back({c.name.substr(5), color, pushedAt});
            frame.order += 't';
        }
    }
    return frame;
}

const Color4f white(1, 1, 1, 1);
const Color4f emptyCell(0xCDC0B4);
const Color4f darkNumber(0x776E65);

Color4f translucent(std::uint32_t rgb) {
    Color4f c(rgb);
    c.a() = 0.75f;
    return c;
}

class BoardDraw : public ::testing::Test, protected test::BoardFixture {
protected:
    Frame frame(double dt) {
        test::calls().clear();
        board.draw(dt);
        return readFrame(test::calls());
    }
    void start(const test::Rows& rows) {
        board.reset(2, 2);
        test::setRows(board, rows);
    }

    test::RecordingTable table;
};

TEST_F(BoardDraw, IdleFrameShowsTheGridAndTheScoreLine) {
    board.position = Vector2f(410, 0);
    start({{{2, 0, 0, 0}}});
    const Frame f = frame(0.016);
    ASSERT_EQ(f.squares.size(), 16u);
    EXPECT_EQ(f.squares[0].centre, Vector2f(460, 400));
    EXPECT_EQ(f.squares[0].color, Color4f(0xEEE4DA));
    for (std::size_t i = 1; i < 16; ++i) EXPECT_EQ(f.squares[i].color, emptyCell);
    EXPECT_EQ(f.squares[15].centre, Vector2f(760, 100));
    EXPECT_TRUE(f.fills.empty());
    // The number's baseline half a font height below the tile's centre.
    EXPECT_EQ(f.texts, (std::vector<Text>{{"2", darkNumber, {460, 386.5f}}, {"Score: 0", white, {610, 15}}}));
    EXPECT_EQ(board.largeText.alignment, Alignment::Center);
    EXPECT_EQ(board.state, BoardState::Idle);
}

TEST_F(BoardDraw, ValuesOutsideTheTablesUseTheFallbackColours) {
    start({{{0, 0, 0, 0}, {0, 8192, 0, 0}, {0, 0, 8, 0}}});
    const Frame f = frame(0.016);
    EXPECT_EQ(f.squares[5].color, Color4f(0x25BB64));
    EXPECT_EQ(f.squares[10].color, Color4f(0xF2B179));
    EXPECT_EQ(f.numbers(),
              (std::vector<Text>{{"8192", Color4f(0xF9F6F2), {150, 286.5f}}, {"8", Color4f(0xF9F6F2), {250, 186.5f}}}));
}

TEST_F(BoardDraw, EveryTableEntryColoursItsTileAndItsNumber) {
    // value, fill, number colour; squares are drawn column by column.
    const struct {
        std::uint32_t value, fill, number;
    } table[16] = {
        {0, 0xCDC0B4, 0},           {2, 0xEEE4DA, 0x776E65},   {4, 0xEDE0C8, 0x776E65},    {8, 0xF2B179, 0xF9F6F2},
        {16, 0xF59563, 0xF9F6F2},   {32, 0xF67C5F, 0xF9F6F2},  {64, 0xF65E3B, 0xF9F6F2},   {128, 0xEDCF72, 0xF9F6F2},
        {256, 0xEDCC61, 0xF9F6F2},  {512, 0xEDC850, 0xF9F6F2}, {1024, 0xEDC53F, 0xF9F6F2}, {2048, 0xEDC22E, 0xF9F6F2},
        {4096, 0x5FDB93, 0xF9F6F2}, {3, 0x25BB64, 0xF9F6F2},   {0, 0xCDC0B4, 0},           {0, 0xCDC0B4, 0}};
    test::Rows rows{};
    for (std::uint32_t i = 0; i < 16; ++i) rows[i % 4][i / 4] = table[i].value;
    start(rows);
    const Frame f = frame(0.016);
    ASSERT_EQ(f.squares.size(), 16u);
    std::vector<Color4f> numberColours;
    for (std::size_t i = 0; i < 16; ++i) {
        EXPECT_EQ(f.squares[i].color, Color4f(table[i].fill)) << "value " << table[i].value;
        if (table[i].value) numberColours.push_back(Color4f(table[i].number));
    }
    const auto numbers = f.numbers();
    ASSERT_EQ(numbers.size(), numberColours.size());
    for (std::size_t i = 0; i < numbers.size(); ++i) EXPECT_EQ(numbers[i].color, numberColours[i]) << numbers[i].text;
}

TEST_F(BoardDraw, MergeSlidesTheTwoOldTilesAndShowsTheResultOnlyWhenIdle) {
    start({{{2, 2, 0, 0}}});
    board.move(Direction::Left);
    // 100 pixels at 33 a frame: three steps, one landing, one to stop.
    float gap = 100;
    for (int n = 0; n < 5; ++n) {
        ASSERT_EQ(board.state, BoardState::Animating) << "frame " << n;
        const Frame f = frame(0.01);
        ASSERT_EQ(f.squares.size(), 18u);
        for (std::size_t i = 0; i < 16; ++i) EXPECT_EQ(f.squares[i].color, emptyCell);
        const auto numbers = f.numbers();
        ASSERT_EQ(numbers.size(), 2u);
        EXPECT_EQ(numbers[0].text, "2");
        EXPECT_EQ(numbers[1].text, "2");
        const float now = numbers[1].anchor.x - numbers[0].anchor.x;
        EXPECT_LE(now, gap);
        gap = now;
        EXPECT_EQ(f.texts.back().text, "Score: 4");
    }
    EXPECT_EQ(gap, 0);
    EXPECT_EQ(board.state, BoardState::Idle);
    EXPECT_EQ(board.movingTiles.count, 0u);
    const auto numbers = frame(0.01).numbers();
    ASSERT_EQ(numbers.size(), 2u); // the 4 and the new tile
    EXPECT_EQ(numbers[0], (Text{"4", darkNumber, {50, 386.5f}}));
}

TEST_F(BoardDraw, UnchangedMoveShowsOneFrameAndZeroTimeHoldsTheSlide) {
    start({{{2, 0, 0, 0}}});
    board.move(Direction::Left);
    EXPECT_EQ(frame(0.016).squares.size(), 17u);
    EXPECT_EQ(board.state, BoardState::Idle);

    start({{{0, 0, 0, 2}}});
    board.move(Direction::Left);
    for (int n = 0; n < 3; ++n) frame(0);
    EXPECT_EQ(board.state, BoardState::Animating);
    EXPECT_EQ(board.pendingAnimations, 1);
    EXPECT_EQ(board.movingTiles.items[0].position, board.cellCenter(3, 0));
    frame(1); // lands
    EXPECT_EQ(board.state, BoardState::Animating);
    frame(0); // stops
    EXPECT_EQ(board.state, BoardState::Idle);
    EXPECT_EQ(board.pendingAnimations, 0);
}

TEST_F(BoardDraw, FinishedBoardShowsItsOverlayUnderTheScoreLine) {
    struct Case {
        BoardState state;
        bool winner;
        Color4f fill;
        Text headline, second;
    };
    const Color4f gold(0xEFAD3F);
    const Case cases[] = {
        {BoardState::Idle,
         false,
         translucent(0x000000),
         {"Game Over", white, {610, 260}},
         {"Wait other player to finish", Color4f(0xF2B179), {610, 225}}},
        {BoardState::Decided,
         true,
         translucent(0xEFAD3F),
         {"You win!", white, {610, 260}},
         {"Press <Enter> to restart", white, {610, 225}}},
        {BoardState::Decided,
         false,
         translucent(0x000000),
         {"You lose!", gold, {610, 260}},
         {"Press <Enter> to restart", gold, {610, 225}}},
    };
    board.position = Vector2f(410, 0);
    for (const Case& c : cases) {
        // A move that changes nothing on a full grid ends the game.
        start({{{2, 4, 2, 4}, {4, 2, 4, 2}, {2, 4, 2, 4}, {4, 2, 4, 2}}});
        board.move(Direction::Left);
        ASSERT_TRUE(board.gameOver);
        // Decided at once: that last slide is never shown, the grid is.
        if (c.state == BoardState::Decided) board.state = c.state;
        board.winner = c.winner;
        const Frame f = frame(0.016);
        EXPECT_EQ(f.squares.size(), c.state == BoardState::Decided ? 16u : 32u);
        EXPECT_EQ(f.texts.size(), 19u);
        EXPECT_EQ(f.order.find('f'), f.order.size() - 4); // the tiles show through
        ASSERT_EQ(f.fills.size(), 1u);
        EXPECT_EQ(f.fills[0].color, c.fill);
        EXPECT_EQ(f.fills[0].origin, Vector2f(410, 0));
        EXPECT_EQ(f.fills[0].corners, (std::vector<Vector2f>{{0, 0}, {400, 0}, {400, 450}, {0, 450}}));
        EXPECT_EQ(f.texts[16], c.headline);
        EXPECT_EQ(f.texts[17], c.second);
        // Last and at full brightness over the overlay.
        EXPECT_EQ(f.texts[18], (Text{"Score: 0", white, {610, 15}}));
        EXPECT_EQ(board.state, c.state);
    }
}

TEST_F(BoardDraw, MoveAfterADecidedSlideStillComesToRest) {
    start({{{2, 2, 4, 4}, {8, 0, 8, 2}, {16, 4, 0, 2}, {2, 0, 2, 0}}});
    board.move(Direction::Left);
    board.state = BoardState::Decided; // its records are never drawn
    board.move(Direction::Right);
    int frames = 0;
    while (board.state == BoardState::Animating && frames < 100) {
        frame(0.016);
        ASSERT_GE(board.pendingAnimations, 0);
        ++frames;
    }
    EXPECT_EQ(board.state, BoardState::Idle);
}

} // namespace
} // namespace tandrel
