#pragma once
// What engine testers read from a match's wins, draws and losses (as cutechess-cli and fastchess
// compute it): the Elo difference of the logistic model, its 95% error bar over the trinomial
// results, the likelihood of superiority and the draw ratio.

namespace kestrova {

struct MatchResults {
  int wins = 0;    // of the first player
  int draws = 0;
  int losses = 0;
  int games() const { return wins + draws + losses; }
  double points() const { return wins + draws / 2.0; }
};

struct EloEstimate {
  bool finite = false;   // false for no game or a score of 0 or 100%: no Elo difference exists
  double difference = 0;  // Elo of the first player over the second
  double error95 = 0;     // half the width of the 95% interval; infinite when it reaches 0 or 100%
  double score = 0;       // 0..1
  double los = 0.5;       // likelihood of superiority, 0..1 (ignores draws)
  double drawRatio = 0;   // 0..1
};

// The Elo difference that a score (0 < score < 1) implies in the logistic model.
double eloFromScore(double score);

EloEstimate estimateElo(const MatchResults& results);

}  // namespace kestrova
