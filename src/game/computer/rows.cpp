#include "game/computer/rows.hpp"

namespace tandrel::computer {

namespace {

Row reversed(Row r) { return static_cast<Row>((r >> 12) | ((r >> 4) & 0x00F0) | ((r << 4) & 0x0F00) | (r << 12)); }

// The slide toward nibble 0, merging as Board::move does: a merged tile takes
// no part in a second merge.
Moved slideLeft(Row r) {
    std::uint32_t out[4]{};
    std::uint32_t score = 0;
    std::uint32_t k = 0;
    bool mergeable = false;
    for (std::uint32_t j = 0; j < 4; ++j) {
        const std::uint32_t v = (r >> (4 * j)) & 0xF;
        if (v == 0) continue;
        if (mergeable && out[k - 1] == v) {
            out[k - 1] = v == 15 ? 15 : v + 1;
            score += 2u << v;
            mergeable = false;
        } else {
            out[k++] = v;
            mergeable = true;
        }
    }
    return {out[0] | (out[1] << 4) | (out[2] << 8) | (out[3] << 12), score};
}

} // namespace

RowTables::RowTables() {
    for (std::uint32_t r = 0; r < 65536; ++r) {
        const Moved l = slideLeft(static_cast<Row>(r));
        left[r] = static_cast<Row>(l.grid);
        leftScore[r] = l.score;
        const Moved m = slideLeft(reversed(static_cast<Row>(r)));
        right[r] = reversed(static_cast<Row>(m.grid));
        rightScore[r] = m.score;
    }
}

const RowTables& rowTables() {
    static const RowTables tables;
    return tables;
}

} // namespace tandrel::computer
