#pragma once

#include "game/computer/rows.hpp"

#include <array>

namespace tandrel::computer {

// What the evaluation rewards in each row and column. The terms are the
// well-known ones of search players: empty cells and neighbours that can merge
// keep a game alive, tiles rising steadily toward one end keep the large tiles
// out of the way, and the sum of tile powers makes a grid of many mid-sized
// tiles cost more than one of a few large ones.
struct Weights {
    float empty = 0;
    float merges = 0;
    float monotonicity = 0;
    float monotonicityPower = 1;
    float sum = 0;
    float sumPower = 1;
    // What a lost grid falls short of one still in play, for each of its eight
    // lines; a loss weighs like a badly broken grid, not infinitely.
    float lost = 0;
};

// A grid's worth as the sum of its eight lines' worth, each looked up in a
// table made once from the weights.
class Evaluation {
public:
    explicit Evaluation(const Weights& weights);

    float operator()(Packed grid) const {
        const Packed columns = transpose(grid);
        float worth = 0;
        for (std::uint32_t i = 0; i < 4; ++i) worth += lines[rowOf(grid, i)] + lines[rowOf(columns, i)];
        return worth;
    }
    float lost() const { return lostWorth; }

private:
    std::array<float, 65536> lines;
    float lostWorth;
};

// The full evaluation of the strong levels, and a cruder one that only sees
// room and merges, for the levels meant to be beaten.
const Evaluation& strongEvaluation();
const Evaluation& crudeEvaluation();

} // namespace tandrel::computer
