#include "rating/rating_computation.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "pgn/game_loop.hpp"
#include "pgn/output_files.hpp"
#include "platform/console.hpp"
#include "platform/output_file.hpp"
#include "platform/text_width.hpp"
#include "rating/elo_statistics.hpp"
#include "rating/rating_difference.hpp"
#include "rating/rating_repository.hpp"
#include "rating/rating_settings.hpp"

namespace kestrova {

namespace {

// Union-find over the players; each set carries the cluster number it would have after the
// same renumberings done one game at a time.
class ClusterSets {
 public:
  explicit ClusterSets(const RatingRepository& repository)
      : parent_(repository.playerCount()), size_(repository.playerCount(), 1), label_(repository.playerCount()) {
    std::iota(parent_.begin(), parent_.end(), 0u);
    std::unordered_map<int, std::uint32_t> firstWithLabel;
    for (std::uint32_t p = 0; p < parent_.size(); ++p) {
      label_[p] = repository.player(p).cluster;
      // Players that already share a number are one cluster before any game joins them.
      const auto [first, added] = firstWithLabel.emplace(label_[p], p);
      if (!added) join(first->second, p);
    }
  }

  int labelOf(std::uint32_t player) { return label_[find(player)]; }

  // Black's cluster takes White's number.
  void renumber(std::uint32_t white, std::uint32_t black) {
    const std::uint32_t w = find(white);
    const std::uint32_t b = find(black);
    if (w == b || label_[w] == label_[b]) return;
    const int number = label_[w];
    label_[join(w, b)] = number;
  }

 private:
  std::uint32_t find(std::uint32_t p) {
    while (parent_[p] != p) {
      parent_[p] = parent_[parent_[p]];
      p = parent_[p];
    }
    return p;
  }
  // Joins two roots; returns the root of the union.
  std::uint32_t join(std::uint32_t a, std::uint32_t b) {
    a = find(a);
    b = find(b);
    if (a == b) return a;
    if (size_[a] < size_[b]) std::swap(a, b);
    parent_[b] = a;
    size_[a] += size_[b];
    return a;
  }

  std::vector<std::uint32_t> parent_;
  std::vector<std::uint32_t> size_;
  std::vector<int> label_;
};

// Counting sort of items by cluster number, keeping their order within a cluster.
void bucketByCluster(const std::vector<std::uint32_t>& items, const std::vector<int>& clusterOfItem,
                     std::size_t buckets, std::vector<std::uint32_t>& sorted, std::vector<std::size_t>& first) {
  first.assign(buckets + 1, 0);
  for (int c : clusterOfItem) ++first[static_cast<std::size_t>(c) + 1];
  for (std::size_t c = 1; c <= buckets; ++c) first[c] += first[c - 1];
  std::vector<std::size_t> next(first.begin(), first.end() - 1);
  sorted.resize(items.size());
  for (std::size_t i = 0; i < items.size(); ++i) sorted[next[static_cast<std::size_t>(clusterOfItem[i])]++] = items[i];
}

int perMilleOf(const PlayerRating& player) {
  return static_cast<int>(static_cast<std::int64_t>(player.points) * 10 / player.countedGames);
}

// Points from hundredths: a half point as ".5", whole points bare.
std::string pointsText(int hundredths) {
  return std::to_string(hundredths / 100) + (hundredths % 100 != 0 ? ".5" : "");
}

// After the list's first fields, what Ordo and BayesElo users read beside a rating: the 95% error
// bar of the player's results against the field ("inf" when they bound the rating on one side
// only, as a score of 0 or 100% does), points, games, score and draw percentages.
std::string resultFields(const PlayerRating& player) {
  const EloEstimate estimate = playerEstimate(player);
  const std::string error = std::isfinite(estimate.error95)
                                ? std::to_string(static_cast<int>(std::lround(estimate.error95)))
                                : "inf";
  char text[96];
  std::snprintf(text, sizeof text, ", err=%s, pts=%s, gm=%d, pc=%.1f%%, dr=%.1f%%", error.c_str(),
                pointsText(player.points).c_str(), player.countedGames, estimate.score * 100.0,
                estimate.drawRatio * 100.0);
  return text;
}

}  // namespace

EloEstimate playerEstimate(const PlayerRating& player) {
  EloEstimate estimate = estimateElo({player.wins, player.draws, player.countedGames - player.wins - player.draws});
  // A score of 0 or 100% bounds the rating on one side only.
  if (!estimate.finite) estimate.error95 = HUGE_VAL;
  return estimate;
}

void indexClusters(RatingRepository& repository) {
  ClusterIndex& index = repository.clusterIndex;
  int highest = 0;
  for (std::uint32_t p = 0; p < repository.playerCount(); ++p) highest = std::max(highest, repository.player(p).cluster);
  const std::size_t buckets = static_cast<std::size_t>(highest) + 1;

  std::vector<std::uint32_t> items;
  std::vector<int> clusterOfItem;
  items.reserve(repository.playerCount());
  clusterOfItem.reserve(repository.playerCount());
  for (std::uint32_t p : repository.playerList()) {
    items.push_back(p);
    clusterOfItem.push_back(std::max(0, repository.player(p).cluster));
  }
  bucketByCluster(items, clusterOfItem, buckets, index.players, index.firstPlayer);

  const std::vector<RatedGame>& games = repository.games();
  items.resize(games.size());
  clusterOfItem.resize(games.size());
  for (std::size_t g = 0; g < games.size(); ++g) {
    items[g] = static_cast<std::uint32_t>(g);
    clusterOfItem[g] = std::max(0, repository.player(games[g].white).cluster);
  }
  bucketByCluster(items, clusterOfItem, buckets, index.games, index.firstGame);
  index.ratedSlot.assign(repository.playerCount(), -1);
  index.built = true;
}

void clusterPlayers(RatingRepository& repository, Console& console) {
  console.writeText("> clustering...\n");
  ClusterSets sets(repository);
  for (const RatedGame& game : repository.games()) sets.renumber(game.white, game.black);
  for (std::uint32_t p = 0; p < repository.playerCount(); ++p) repository.player(p).cluster = sets.labelOf(p);

  std::deque<int>& clusters = repository.clusters();
  clusters.clear();
  std::unordered_set<int> listed;
  bool first = true;
  int previous = 0;
  for (std::uint32_t p : repository.playerList()) {
    const int cluster = repository.player(p).cluster;
    if ((first || cluster != previous) && listed.insert(cluster).second) {
      clusters.push_front(cluster);
      console.print(colour::kNormal, "> adding cluster %d\n", cluster);
    }
    first = false;
    previous = cluster;
  }
  indexClusters(repository);
}

bool isValidGame(const RatingRepository& repository, const RatingSettings& settings, const RatedGame& game) {
  if (!settings.use300ptRule) return true;
  const int white = repository.player(game.white).rating;
  const int black = repository.player(game.black).rating;
  if (white - black >= settings.validGmDelta && game.whiteScore == 100) return false;
  if (black - white >= settings.validGmDelta && game.blackScore == 100) return false;
  return true;
}

bool rateCluster(RatingRepository& repository, const RatingSettings& settings, int cluster, Console& console) {
  if (!repository.clusterIndex.built) indexClusters(repository);
  const ClusterIndex& index = repository.clusterIndex;

  auto hasEnoughGames = [&](std::uint32_t p) { return repository.player(p).games >= settings.minNbGm; };
  std::vector<std::uint32_t> rated;
  for (std::uint32_t p : index.playersOf(cluster)) {
    if (!hasEnoughGames(p)) continue;
    PlayerRating& player = repository.player(p);
    player.rating = settings.startElo;
    player.average = settings.startElo;
    rated.push_back(p);
  }
  const auto n = static_cast<std::int64_t>(rated.size());
  if (n == 0) {
    console.print(colour::kNormal, "> no players or insufficent games per player in cluster %d\n", cluster);
    return false;
  }
  if (settings.maxIterations <= 0) {
    console.writeText("\n");
    return true;
  }

  // The games that count for somebody: White of this cluster, both players with enough games.
  std::vector<std::uint32_t> games;
  for (std::uint32_t g : index.gamesOf(cluster)) {
    const RatedGame& game = repository.games()[g];
    if (hasEnoughGames(game.white) && hasEnoughGames(game.black)) games.push_back(g);
  }
  // A Black player of another cluster (possible only when the index was built without
  // clustering) is not rated here and collects nothing.
  std::vector<std::int32_t>& slot = repository.clusterIndex.ratedSlot;
  for (std::size_t i = 0; i < rated.size(); ++i) slot[rated[i]] = static_cast<std::int32_t>(i);
  std::vector<std::int64_t> opponentSum(rated.size());
  std::vector<std::int64_t> points(rated.size());
  std::vector<int> counted(rated.size());
  std::vector<int> wins(rated.size());
  std::vector<int> draws(rated.size());

  float previousVariation = 999.0f;
  int stability = 0;
  int iteration = 0;
  while (stability < 10) {
    ++iteration;
    std::fill(opponentSum.begin(), opponentSum.end(), 0);
    std::fill(points.begin(), points.end(), 0);
    std::fill(counted.begin(), counted.end(), 0);
    std::fill(wins.begin(), wins.end(), 0);
    std::fill(draws.begin(), draws.end(), 0);
    // One pass: every game credits both of its players, with the ratings from before this pass.
    for (std::uint32_t g : games) {
      const RatedGame& game = repository.games()[g];
      if (!isValidGame(repository, settings, game)) continue;
      if (const std::int32_t white = slot[game.white]; white >= 0) {
        opponentSum[white] += repository.player(game.black).rating;
        points[white] += game.whiteScore;
        ++counted[white];
        wins[white] += game.whiteScore == 100;
        draws[white] += game.whiteScore == 50;
      }
      if (const std::int32_t black = slot[game.black]; black >= 0) {
        opponentSum[black] += repository.player(game.white).rating;
        points[black] += game.blackScore;
        ++counted[black];
        wins[black] += game.blackScore == 100;
        draws[black] += game.blackScore == 50;
      }
    }
    std::int64_t sum = 0;
    for (std::size_t i = 0; i < rated.size(); ++i) {
      PlayerRating& player = repository.player(rated[i]);
      player.countedGames = counted[i];
      player.points = static_cast<int>(points[i]);
      player.wins = wins[i];
      player.draws = draws[i];
      player.average = counted[i] > 0 ? static_cast<int>(opponentSum[i] / counted[i]) : 0;
      if (player.countedGames > 0) sum += player.average + ratingDifference(perMilleOf(player));
    }
    const auto shift = static_cast<int>(settings.startElo - sum / n);

    int corrections = 0;
    std::int64_t variationSum = 0;
    for (std::uint32_t p : rated) {
      PlayerRating& player = repository.player(p);
      if (player.countedGames == 0) continue;
      int difference = ratingDifference(perMilleOf(player));
      // Two players alone would otherwise be pushed apart twice.
      if (n == 2) difference /= 2;
      const int updated = player.average + difference + shift;
      const int change = std::abs(updated - player.rating);
      variationSum += change;
      if (change > 0) ++corrections;
      player.rating = updated;
    }
    const float variation = static_cast<float>(variationSum) / static_cast<float>(n);
    if (!(variation < previousVariation)) ++stability;
    previousVariation = variation;
    const bool last = stability >= 10 || n < 3 || iteration >= settings.maxIterations;
    // A terminal watches the passes go by; a pipe gets the last one only.
    if (last) {
      console.print(colour::kNormal, "> %d iteration(s), %d correction(s), var = %f, stab. factor = %d {10}  \n",
                    iteration, corrections, static_cast<double>(variation), stability);
      break;
    }
    console.progress("> %d iteration(s), %d correction(s), var = %f, stab. factor = %d {10}  \r", iteration,
                     corrections, static_cast<double>(variation), stability);
  }
  for (std::uint32_t p : rated) slot[p] = -1;
  return true;
}

void sortByRating(RatingRepository& repository) {
  std::deque<std::uint32_t>& list = repository.playerList();
  std::stable_sort(list.begin(), list.end(), [&](std::uint32_t a, std::uint32_t b) {
    return repository.player(a).rating > repository.player(b).rating;
  });
}

bool writeRatingList(const RatingRepository& repository, const RatingSettings& settings, int cluster,
                     platform::OutputFile& out, Console& console) {
  if (repository.playerCount() == 0) {
    console.writeText("> no player in queue\n");
    return false;
  }
  console.writeText("\n");
  char text[512];
  std::string header;
  std::snprintf(text, sizeof text,
                "made by Kestrova %s\nstarting elo : %d\nmaximum iterations : %d\nminimal number of games : %d\n"
                "cluster : %d\n",
                "0.92 ", settings.startElo, settings.maxIterations, settings.minNbGm, cluster);
  header = text;
  if (settings.use300ptRule) {
    std::snprintf(text, sizeof text,
                  "valid game delta : %d elo (all draws and wins against stronger players are still included)\n",
                  settings.validGmDelta);
    header += text;
  }
  header += "\n";
  console.writeText(header);
  out.write(header);

  int rank = 0;
  std::string line;
  for (std::uint32_t p : repository.playerList()) {
    const PlayerRating& player = repository.player(p);
    if (player.cluster != cluster || player.countedGames == 0) continue;
    line = std::to_string(++rank) + "." + player.name;
    // Tab stops count characters: a UTF-8 name takes fewer columns than bytes.
    const std::size_t width = platform::textWidth(line);
    const char* separator = width < 14 ? " :\t\t\t" : width < 22 ? " :\t\t" : " :\t";
    std::snprintf(text, sizeof text, "%selo=%d, x=%d, sc=%s/%d", separator, player.rating, player.average,
                  pointsText(player.points).c_str(), player.countedGames);
    line += text;
    line += resultFields(player);
    line += '\n';
    console.writeText(line);
    out.write(line);
  }
  console.writeText("\n");
  out.write("\n");
  return true;
}

bool computeRatings(RatingRepository& repository, const RatingSettings& settings, const GameLoopParts& games,
                    platform::Timers& timers, const std::string& fileName, bool* listWritten) {
  Console& console = games.console;
  if (listWritten != nullptr) *listWritten = false;
  console.print(colour::kNormal, "\n> please note that the start elo is : %d (see kestrova.ini to change it)\n",
                settings.startElo);
  if (!fillRepository(repository, games, timers)) return false;
  // A list of nobody would replace the earlier list as if this file had been rated. Whether that
  // fails the command is the caller's business: the scan goes on without a list.
  if (repository.games().empty()) {
    console.writeText("> no finished game to rate\n");
    return false;
  }

  clusterPlayers(repository, console);
  for (int cluster : repository.clusters()) {
    console.print(colour::kSuccess, "> calculating ratings for cluster %d\n", cluster);
    rateCluster(repository, settings, cluster, console);
  }
  sortByRating(repository);

  platform::OutputFile out;
  if (!createOutputFileOrSay(console, games.pgn, out, fileName)) return false;
  for (int cluster : repository.clusters()) writeRatingList(repository, settings, cluster, out, console);
  if (!finishOutput(console, out)) return false;
  if (listWritten != nullptr) *listWritten = true;
  console.print(colour::kSuccess, "> rating list saved in %s\n\n", fileName.c_str());
  return true;
}

}  // namespace kestrova
