#pragma once
// The configuration of the rating computation (keys of the same names in "kestrova.ini").

namespace kestrova {

struct RatingSettings {
  int minNbGm = 20;          // games a player needs to be rated
  int startElo = 2275;       // every rated player's first rating, and each cluster's mean
  int maxIterations = 200;
  bool use300ptRule = false; // leave out wins over players rated validGmDelta or more below
  int validGmDelta = 300;
};

}  // namespace kestrova
