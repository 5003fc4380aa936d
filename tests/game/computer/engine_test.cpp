#include <gtest/gtest.h>

#include "game/computer/engine.hpp"
#include "game/computer/evaluation.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace tandrel::computer {
namespace {

constexpr Level levels[] = {Level::Easy, Level::Normal, Level::Hard, Level::Expert};

// rows[y][x] as on screen, exponents: 0 empty, 1 a 2, 11 a 2048.
Packed grid(const std::array<std::array<std::uint32_t, 4>, 4>& rows) {
    Packed packed = 0;
    for (std::uint32_t y = 0; y < 4; ++y)
        for (std::uint32_t x = 0; x < 4; ++x) packed |= Packed{rows[y][x]} << (4 * (4 * y + x));
    return packed;
}

TEST(Engine, ChoosesAMoveThatChangesTheGridWheneverOneDoes) {
    struct Case {
        Packed grid;
        std::vector<Direction> changing;
    };
    const Case cases[] = {
        // An empty edge line with the rest locked: only the slide toward it.
        {grid({{{0, 1, 2, 3}, {0, 4, 5, 6}, {0, 1, 2, 3}, {0, 4, 5, 6}}}), {Direction::Left}},
        {grid({{{3, 2, 1, 0}, {6, 5, 4, 0}, {3, 2, 1, 0}, {11, 5, 4, 0}}}), {Direction::Right}},
        {grid({{{0, 0, 0, 0}, {1, 2, 3, 4}, {5, 6, 7, 8}, {1, 2, 3, 4}}}), {Direction::Up}},
        // A corner the evaluation loves, kept only by a move that changes nothing.
        {grid({{{11, 10, 9, 8}, {4, 5, 6, 7}, {3, 2, 1, 2}, {0, 0, 0, 0}}}), {Direction::Down}},
        // Full grids with one pair: it merges either way along its line.
        {grid({{{1, 2, 3, 4}, {5, 6, 7, 8}, {1, 2, 3, 4}, {5, 6, 8, 8}}}), {Direction::Left, Direction::Right}},
        {grid({{{1, 2, 3, 4}, {5, 6, 7, 8}, {1, 2, 3, 9}, {5, 6, 7, 9}}}), {Direction::Up, Direction::Down}},
    };
    for (const Level level : levels)
        for (std::uint64_t seed = 0; seed < 20; ++seed) {
            Engine engine(level, seed);
            for (const Case& c : cases) {
                const Direction chosen = engine.chooseMove(c.grid);
                EXPECT_NE(std::find(c.changing.begin(), c.changing.end(), chosen), c.changing.end())
                    << levelName(level) << " seed " << seed << " chose " << int(chosen) << " on " << std::hex << c.grid;
            }
        }
}

// As the move worker stops its engines when the program ends: the search in
// hand ends at once however long the grid would have it think.
TEST(Engine, StoppedItLooksNoFurtherThanEachMovesResult) {
    // Fifteen distinct tiles, where expert thinks longest; right and down change it.
    const Packed chain = grid({{{15, 14, 13, 12}, {8, 9, 10, 11}, {7, 6, 5, 4}, {1, 2, 3, 0}}});
    Engine engine(Level::Expert);
    engine.stop();
    const Direction chosen = engine.chooseMove(chain);
    EXPECT_TRUE(chosen == Direction::Right || chosen == Direction::Down) << int(chosen);
    EXPECT_LT(engine.positionsSearched(), 2000u);
}

TEST(Evaluation, SeesEqualTilesWithEmptyCellsBetweenThemAsMergeable) {
    static const Evaluation merges(Weights{.merges = 1});
    const std::pair<Packed, float> cases[] = {
        {grid({{{1, 1, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}}), 2},
        {grid({{{1, 0, 0, 1}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}}), 2},
        {grid({{{1, 0, 0, 0}, {0, 0, 0, 0}, {1, 0, 0, 0}, {0, 0, 0, 0}}}), 2},
        {grid({{{1, 0, 2, 1}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}}), 0},
    };
    for (const auto& [g, worth] : cases) EXPECT_EQ(merges(g), worth) << std::hex << g;
}

TEST(Engine, LevelNamesAreTheCommandLines) {
    const std::pair<std::string_view, std::optional<Level>> names[] = {
        {"easy", Level::Easy},  {"normal", Level::Normal}, {"hard", Level::Hard},     {"expert", Level::Expert},
        {"Easy", std::nullopt}, {"", std::nullopt},        {"expert ", std::nullopt}, {"human", std::nullopt},
    };
    for (const auto& [name, level] : names) {
        EXPECT_EQ(parseLevel(name), level) << name;
        if (level) {
            EXPECT_EQ(levelName(*level), name);
        }
    }
}

} // namespace
} // namespace tandrel::computer
