#include "game/pool.hpp"

#include "game/tile.hpp"
#include "support/core/compound.hpp"

#include <gtest/gtest.h>

#include <type_traits>

namespace tandrel {
namespace {

using FreeCells = Pool<Compound<std::uint32_t, std::uint32_t>, 16>;

static_assert(std::is_trivially_copyable_v<FreeCells> && std::is_standard_layout_v<FreeCells>);
static_assert(std::is_trivially_copyable_v<Pool<Tile, 16>> && std::is_standard_layout_v<Pool<Tile, 16>>);

TEST(Pool, AppendsInOrderAndDropsPastCapacity) {
    FreeCells cells;
    EXPECT_EQ(cells.count, 0u);
    for (std::uint32_t i = 0; i < 17; ++i) cells.add({i, 100 + i});
    EXPECT_EQ(cells.count, 16u);
    for (std::uint32_t i = 0; i < 16; ++i) {
        EXPECT_EQ(cells[i].first, i);
        EXPECT_EQ(cells[i].second, 100 + i);
    }
}

TEST(Pool, ClearRestartsAtPlaceZero) {
    Pool<Tile, 16> tiles;
    EXPECT_TRUE(tiles.items[15].pending); // untouched places are default tiles
    tiles.add(Tile(2, Vector2f(1, 1)));
    tiles.add(Tile(4, Vector2f(2, 2)));
    tiles.clear();
    EXPECT_EQ(tiles.count, 0u);
    tiles.add(Tile(8, Vector2f(3, 3)));
    EXPECT_EQ(tiles.count, 1u);
    EXPECT_EQ(tiles[0].value, 8u);
}

} // namespace
} // namespace tandrel
