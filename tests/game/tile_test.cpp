#include "game/tile.hpp"

#include "fixtures/recorder.hpp"

#include <gtest/gtest.h>

namespace tandrel {
namespace {

class TileDraw : public ::testing::Test {
protected:
    test::RecordingTable table;
};

TEST(Tile, OnlyTheMovingConstructorMovesAndEveryTileIsPending) {
    for (const Tile& tile : {Tile(), Tile(Vector2f(50, 350)), Tile(4, Vector2f(150, 50))}) {
        EXPECT_FALSE(tile.moving);
        EXPECT_TRUE(tile.pending);
    }
    const Tile sliding(8, Vector2f(1, 2), Vector2f(3, 4));
    EXPECT_TRUE(sliding.moving);
    EXPECT_TRUE(sliding.pending);
}

TEST_F(TileDraw, SlidesLandsThenStops) {
    Tile tile(2, Vector2f(50, 400), Vector2f(350, 400));
    tile.draw(0.05);
    EXPECT_EQ(tile.position, Vector2f(215, 400));
    tile.draw(0.05);
    EXPECT_EQ(tile.position, Vector2f(350, 400));
    EXPECT_TRUE(tile.moving); // landing and stopping are separate frames
    tile.draw(0.05);
    EXPECT_EQ(tile.position, Vector2f(350, 400));
    EXPECT_FALSE(tile.moving);

    Tile diagonal(2, Vector2f(0, 0), Vector2f(300, 400));
    diagonal.draw(100.0 / 3300.0);
    EXPECT_FLOAT_EQ(diagonal.position.x, 60);
    EXPECT_FLOAT_EQ(diagonal.position.y, 80);
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

TEST_F(TileDraw, MovesThenDrawsA90PixelSquareAtItsPosition) {
    Tile tile(2, Vector2f(50, 400), Vector2f(350, 400));
    tile.draw(0.05);
    const std::vector<test::Call> expected = {
        {"glPushMatrix", {}},       {"glTranslatef", {215, 400, 0}}, {"glScalef", {90, 90, 90}},
        {"glBegin", {GL_QUADS}},    {"glVertex2f", {-0.5, -0.5}},    {"glVertex2f", {0.5, -0.5}},
        {"glVertex2f", {0.5, 0.5}}, {"glVertex2f", {-0.5, 0.5}},     {"glEnd", {}},
        {"glPopMatrix", {}},
    };
    EXPECT_EQ(test::calls(), expected);
}

} // namespace
} // namespace tandrel
