#include "game/tile.hpp"

#include "support/recorder.hpp"

#include <gtest/gtest.h>

namespace tandrel {
namespace {

class TileDraw : public ::testing::Test {
protected:
    test::RecordingTable table;
};

TEST(Tile, ConstructorsSetFieldsAndPending) {
    const Tile placeholder;
    EXPECT_EQ(placeholder.value, 0u);
    EXPECT_FALSE(placeholder.moving);
    EXPECT_TRUE(placeholder.pending);

    const Tile background(Vector2f(50, 350));
    EXPECT_EQ(background.value, 0u);
    EXPECT_EQ(background.position, Vector2f(50, 350));
    EXPECT_EQ(background.target, Vector2f(0, 0));
    EXPECT_FALSE(background.moving);
    EXPECT_TRUE(background.pending);

    const Tile still(4, Vector2f(150, 50));
    EXPECT_EQ(still.value, 4u);
    EXPECT_FALSE(still.moving);
    EXPECT_TRUE(still.pending);

    const Tile sliding(8, Vector2f(1, 2), Vector2f(3, 4));
    EXPECT_EQ(sliding.position, Vector2f(1, 2));
    EXPECT_EQ(sliding.target, Vector2f(3, 4));
    EXPECT_TRUE(sliding.moving);
    EXPECT_TRUE(sliding.pending);
}

TEST_F(TileDraw, SlidesAtThreeThousandThreeHundredPixelsPerSecond) {
    Tile tile(2, Vector2f(50, 400), Vector2f(350, 400));
    tile.draw(0.05);
    EXPECT_EQ(tile.position, Vector2f(215, 400));
    EXPECT_TRUE(tile.moving);
    tile.draw(0.05);
    EXPECT_EQ(tile.position, Vector2f(350, 400));
    EXPECT_TRUE(tile.moving);  // landing and stopping are separate frames
    tile.draw(0.05);
    EXPECT_EQ(tile.position, Vector2f(350, 400));
    EXPECT_FALSE(tile.moving);
    tile.draw(0.05);
    EXPECT_EQ(tile.position, Vector2f(350, 400));
}

TEST_F(TileDraw, DiagonalSlideKeepsItsDirection) {
    Tile tile(2, Vector2f(0, 0), Vector2f(300, 400));
    tile.draw(100.0 / 3300.0);
    EXPECT_FLOAT_EQ(tile.position.x, 60);
    EXPECT_FLOAT_EQ(tile.position.y, 80);
}

TEST_F(TileDraw, TileAlreadyOnTargetStopsOnFirstDraw) {
    Tile tile(4, Vector2f(150, 250), Vector2f(150, 250));
    tile.draw(0.016);
    EXPECT_FALSE(tile.moving);
    EXPECT_EQ(tile.position, Vector2f(150, 250));
}

TEST_F(TileDraw, EmptyTileNeverMovesAndStaysMoving) {
    Tile tile(0, Vector2f(50, 400), Vector2f(350, 400));
    for (int i = 0; i < 5; ++i) tile.draw(0.05);
    EXPECT_EQ(tile.position, Vector2f(50, 400));
    EXPECT_TRUE(tile.moving);
}

TEST_F(TileDraw, DrawsA90PixelSquareAtItsPosition) {
    Tile tile(2, Vector2f(50, 400));
    tile.draw(0.05);
    const std::vector<test::Call> expected = {
        {"glPushMatrix", {}},
        {"glTranslatef", {50, 400, 0}},
        {"glScalef", {90, 90, 90}},
        {"glBegin", {GL_QUADS}},
        {"glVertex2f", {-0.5, -0.5}},
        {"glVertex2f", {0.5, -0.5}},
        {"glVertex2f", {0.5, 0.5}},
        {"glVertex2f", {-0.5, 0.5}},
        {"glEnd", {}},
        {"glPopMatrix", {}},
    };
    EXPECT_EQ(test::calls(), expected);
}

TEST_F(TileDraw, MovesBeforeDrawing) {
    Tile tile(2, Vector2f(50, 400), Vector2f(350, 400));
    tile.draw(0.05);
    const auto translates = test::callsNamed("glTranslatef");
    ASSERT_EQ(translates.size(), 1u);
    EXPECT_EQ(translates[0].args, (std::vector<double>{215, 400, 0}));
}

} // namespace
} // namespace tandrel
