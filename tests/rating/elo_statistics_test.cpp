// The match statistics of engine testers, against values worked out apart (python3's math module,
// the same formulas written afresh: score mu = (W + D/2)/N, Elo = -400 log10(1/mu - 1), deviation
// sqrt(sum p_i (s_i - mu)^2 / N), bounds mu -+ 1.959964 deviations, LOS = (1 + erf((W-L)/sqrt(2(W+L))))/2).
#include "rating/elo_statistics.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace kestrova {
namespace {

TEST(EloStatistics, DifferenceErrorBarLikelihoodAndDrawRatioOfTrinomialResults) {
  const struct { MatchResults r; double elo, error, los, draws; } cases[] = {
      {{30, 40, 30}, 0.0, 53.158, 0.5, 0.4},
      {{60, 20, 20}, 147.1907, 66.0134, 0.999996, 0.2},
      {{12, 30, 8}, 27.8544, 61.4522, 0.814453, 0.6},
      {{9, 0, 1}, 381.697, HUGE_VAL, 0.994294, 0.0},  // the interval reaches 100%: no upper bound
  };
  for (const auto& c : cases) {
    const EloEstimate e = estimateElo(c.r);
    EXPECT_TRUE(e.finite);
    EXPECT_NEAR(e.difference, c.elo, 1e-3) << c.r.wins;
    if (std::isinf(c.error)) EXPECT_TRUE(std::isinf(e.error95));
    else EXPECT_NEAR(e.error95, c.error, 1e-3) << c.r.wins;
    EXPECT_NEAR(e.los, c.los, 1e-6);
    EXPECT_DOUBLE_EQ(e.drawRatio, c.draws);
  }
  // No game, or all won: no Elo difference exists.
  EXPECT_FALSE(estimateElo({}).finite);
  const EloEstimate allWon = estimateElo({5, 0, 0});
  EXPECT_TRUE(!allWon.finite && allWon.score == 1.0);
}

}  // namespace
}  // namespace kestrova
