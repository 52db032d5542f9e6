#include "rating/elo_statistics.hpp"

#include <cmath>

namespace kestrova {

namespace {

// The 97.5% quantile of the normal distribution: a 95% interval is +-1.959964 deviations.
constexpr double kZ95 = 1.959963984540054;

}  // namespace

double eloFromScore(double score) { return -400.0 * std::log10(1.0 / score - 1.0); }

EloEstimate estimateElo(const MatchResults& results) {
  EloEstimate estimate;
  const int n = results.games();
  if (n == 0) return estimate;
  const double mu = results.points() / n;
  estimate.score = mu;
  estimate.drawRatio = static_cast<double>(results.draws) / n;
  const int decisive = results.wins + results.losses;
  if (decisive > 0) estimate.los = 0.5 + 0.5 * std::erf((results.wins - results.losses) / std::sqrt(2.0 * decisive));
  if (mu <= 0.0 || mu >= 1.0) return estimate;
  // The variance of one game's score around the mean, from the three outcomes' frequencies.
  const double w = static_cast<double>(results.wins) / n, d = static_cast<double>(results.draws) / n,
               l = static_cast<double>(results.losses) / n;
  const double deviation = std::sqrt(w * (1 - mu) * (1 - mu) + d * (0.5 - mu) * (0.5 - mu) + l * mu * mu) / std::sqrt(n);
  const double low = mu - kZ95 * deviation, high = mu + kZ95 * deviation;
  estimate.finite = true;
  estimate.difference = eloFromScore(mu);
  // An interval that reaches a score of 0 or 100% has no Elo bound on that side.
  estimate.error95 = low <= 0.0 || high >= 1.0 ? HUGE_VAL : (eloFromScore(high) - eloFromScore(low)) / 2.0;
  return estimate;
}

}  // namespace kestrova
