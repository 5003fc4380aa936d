#include "game/computer/evaluation.hpp"

#include <cmath>

namespace tandrel::computer {

namespace {

float lineWorth(Row r, const Weights& w) {
    float cells[4];
    for (std::uint32_t i = 0; i < 4; ++i) cells[i] = static_cast<float>((r >> (4 * i)) & 0xF);
    float sum = 0;
    float empty = 0;
    float merges = 0;
    // Length of the current run of equal tiles, less one.
    float run = 0;
    float previous = 0;
    for (const float c : cells) {
        sum += std::pow(c, w.sumPower);
        if (c == 0) {
            ++empty;
        } else if (c == previous) {
            ++run;
        } else if (run > 0) {
            merges += 1 + run;
            run = 0;
        }
        // Equal tiles with empty cells between them merge all the same.
        if (c != 0) previous = c;
    }
    if (run > 0) merges += 1 + run;
    // How far the line falls short of rising toward either end.
    float towardLow = 0;
    float towardHigh = 0;
    for (std::uint32_t i = 1; i < 4; ++i) {
        const float a = std::pow(cells[i - 1], w.monotonicityPower);
        const float b = std::pow(cells[i], w.monotonicityPower);
        if (cells[i - 1] > cells[i])
            towardHigh += a - b;
        else
            towardLow += b - a;
    }
    return w.empty * empty + w.merges * merges - w.monotonicity * std::min(towardLow, towardHigh) - w.sum * sum;
}

} // namespace

Evaluation::Evaluation(const Weights& weights) {
    for (std::uint32_t r = 0; r < 65536; ++r) lines[r] = lineWorth(static_cast<Row>(r), weights);
    lostWorth = -8 * weights.lost;
}

const Evaluation& strongEvaluation() {
    static const Evaluation evaluation(Weights{.empty = 270,
                                               .merges = 700,
                                               .monotonicity = 47,
                                               .monotonicityPower = 4,
                                               .sum = 11,
                                               .sumPower = 3.5f,
                                               .lost = 200000});
    return evaluation;
}

const Evaluation& crudeEvaluation() {
    static const Evaluation evaluation(Weights{.empty = 10, .merges = 5});
    return evaluation;
}

} // namespace tandrel::computer
