#pragma once
// The Elo computation: clusters of connected players, the iteration that rates each cluster,
// and the rating list.
#include <string>

#include "rating/elo_statistics.hpp"

namespace kestrova {

class Console;
struct GameLoopParts;
struct PlayerRating;
struct RatedGame;
class RatingRepository;
struct RatingSettings;
namespace platform {
class OutputFile;
struct Timers;
}  // namespace platform

// The player's score, draw ratio and the 95% error bar of the rating, from the games counted; the
// error is infinite when the score is 0 or 100% or its interval reaches either.
EloEstimate playerEstimate(const PlayerRating& player);

// Fills the repository from the open file, rates every cluster and writes the list to fileName.
// False when no list was written: the fill was interrupted, the file has no finished game (a
// failure of the command), or the list file could not be created or written. `listWritten`, when
// given, tells whether this run wrote the list.
bool computeRatings(RatingRepository& repository, const RatingSettings& settings, const GameLoopParts& games,
                    platform::Timers& timers, const std::string& fileName, bool* listWritten = nullptr);

// Gives every player the cluster of the players it is connected to by games and lists the
// clusters to rate.
void clusterPlayers(RatingRepository& repository, Console& console);

// Builds the per-cluster index of games and players from the players' current clusters.
void indexClusters(RatingRepository& repository);

// Rates the players of a cluster that have at least minNbGm games. False when there is none.
bool rateCluster(RatingRepository& repository, const RatingSettings& settings, int cluster, Console& console);

// With use300ptRule, a win over a player rated validGmDelta or more below does not count.
bool isValidGame(const RatingRepository& repository, const RatingSettings& settings, const RatedGame& game);

// Highest rating first; equal ratings keep their order.
void sortByRating(RatingRepository& repository);

// The list of one cluster on the console and into the file. False when there is no player.
bool writeRatingList(const RatingRepository& repository, const RatingSettings& settings, int cluster,
                     platform::OutputFile& out, Console& console);

}  // namespace kestrova
