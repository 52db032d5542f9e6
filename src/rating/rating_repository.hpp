#pragma once
// The players, games and event groups collected from the open PGN file for the ratings.
namespace kestrova {

class RatingRepository {};

}  // namespace kestrova
