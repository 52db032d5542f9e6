// The fast computation (one pass per iteration, union-find clustering) against a literal,
// slow reading of the rating procedure, on generated files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "rating/game_text.hpp"
#include "rating/rating_difference.hpp"
#include "rating/rating_repository.hpp"
#include "support/test_app.hpp"

namespace kestrova {
namespace {

struct Options {
  int minNbGm = 1, maxIterations = 200;
  bool use300ptRule = false;
  int validGmDelta = 300, startElo = 2275;
};

struct Generated {
  std::string white, black;
  int whiteScore;  // 100, 50, 0
};

// Every step as the procedure states it: lists with new items at the head, linear searches,
// renumbering by walking the games, and a pass over all games for every player.
class LiteralRatings {
 public:
  explicit LiteralRatings(const Options& options) : options_(options) {}

  void addGame(const Generated& game) {
    const int white = findOrAdd(game.white), black = findOrAdd(game.black);
    games_.push_back({white, black, game.whiteScore, 100 - game.whiteScore});
    ++players_[white].games, ++players_[black].games;
  }

  void cluster() {
    for (const Game& game : games_) {
      const int white = players_[game.white].cluster, black = players_[game.black].cluster;
      if (white == black) continue;
      for (const Game& other : games_) {
        if (players_[other.white].cluster == black) players_[other.white].cluster = white;
        if (players_[other.black].cluster == black) players_[other.black].cluster = white;
      }
    }
    for (std::size_t i = 0; i < list_.size(); ++i) {
      const int c = players_[list_[i]].cluster;
      if (i > 0 && c == players_[list_[i - 1]].cluster) continue;
      if (std::find(clusters_.begin(), clusters_.end(), c) == clusters_.end()) clusters_.insert(clusters_.begin(), c);
    }
  }

  void rate(int c) {
    std::vector<int> rated;
    for (int p : list_) {
      if (players_[p].cluster == c && players_[p].games >= options_.minNbGm) {
        players_[p].rating = players_[p].average = options_.startElo;
        rated.push_back(p);
      }
    }
    const int n = static_cast<int>(rated.size());
    if (n == 0 || options_.maxIterations <= 0) return;
    float previous = 999.0f;
    for (int stability = 0, iteration = 1; stability < 10; ++iteration) {
      for (int p : rated) {
        Player& player = players_[p];
        std::int64_t sum = 0;
        player.points = player.counted = 0;
        for (const Game& game : games_) {
          if (players_[game.white].cluster != c) continue;
          if (players_[game.white].games < options_.minNbGm || players_[game.black].games < options_.minNbGm) continue;
          if (!valid(game)) continue;
          if (game.white == p) sum += players_[game.black].rating, player.points += game.whiteScore, ++player.counted;
          if (game.black == p) sum += players_[game.white].rating, player.points += game.blackScore, ++player.counted;
        }
        player.average = player.counted > 0 ? static_cast<int>(sum / player.counted) : 0;
      }
      std::int64_t s = 0;
      for (int p : rated) {
        const Player& player = players_[p];
        if (player.counted > 0) s += player.average + ratingDifference(player.points * 10 / player.counted);
      }
      const int shift = static_cast<int>(options_.startElo - s / n);
      std::int64_t variationSum = 0;
      for (int p : rated) {
        Player& player = players_[p];
        if (player.counted == 0) continue;
        int dp = ratingDifference(player.points * 10 / player.counted);
        if (n == 2) dp /= 2;
        const int updated = player.average + dp + shift;
        variationSum += std::abs(updated - player.rating);
        player.rating = updated;
      }
      const float variation = static_cast<float>(variationSum) / static_cast<float>(n);
      if (!(variation < previous)) ++stability;
      previous = variation;
      if (n < 3 || iteration >= options_.maxIterations) break;
    }
  }

  void sort() {
    bool moved = true;
    while (moved) {
      moved = false;
      for (std::size_t i = 1; i < list_.size(); ++i) {
        if (players_[list_[i]].rating > players_[list_[i - 1]].rating) {
          std::swap(list_[i], list_[i - 1]);
          moved = true;
        }
      }
    }
  }

  // The rating list as it is written to the file.
  std::string list() {
    cluster();
    for (int c : clusters_) rate(c);
    sort();
    std::string text;
    char line[256];
    for (int c : clusters_) {
      std::snprintf(line, sizeof line,
                    "made by Kestrova 0.92 \nstarting elo : %d\nmaximum iterations : %d\nminimal number of games : "
                    "%d\ncluster : %d\n",
                    options_.startElo, options_.maxIterations, options_.minNbGm, c);
      text += line;
      if (options_.use300ptRule) {
        std::snprintf(line, sizeof line,
                      "valid game delta : %d elo (all draws and wins against stronger players are still included)\n",
                      options_.validGmDelta);
        text += line;
      }
      text += "\n";
      int rank = 0;
      for (int p : list_) {
        const Player& player = players_[p];
        if (player.cluster != c || player.counted == 0) continue;
        const std::string head = std::to_string(++rank) + "." + player.name;
        text += head + (head.size() < 14 ? " :\t\t\t" : head.size() < 22 ? " :\t\t" : " :\t");
        std::snprintf(line, sizeof line, "elo=%d, x=%d, sc=%d/%d\n", player.rating, player.average,
                      player.points / 100, player.counted);
        text += line;
      }
      text += "\n";
    }
    return text;
  }

  struct Player {
    std::string name;
    int cluster = 0, rating = 0, average = 0, counted = 0, games = 0, points = 0;
  };
  const Player* find(const std::string& name) const {
    for (const Player& player : players_) {
      if (player.name == name) return &player;
    }
    return nullptr;
  }
  const std::vector<int>& clusters() const { return clusters_; }

 private:
  struct Game {
    int white, black, whiteScore, blackScore;
  };

  int findOrAdd(const std::string& name) {
    for (int p : list_) {
      if (players_[p].name == name) return p;
    }
    Player player;
    player.name = name;
    player.cluster = list_.empty() ? 1 : players_[list_.front()].cluster + 1;
    players_.push_back(player);
    list_.insert(list_.begin(), static_cast<int>(players_.size()) - 1);
    return static_cast<int>(players_.size()) - 1;
  }

  bool valid(const Game& game) const {
    if (!options_.use300ptRule) return true;
    const int white = players_[game.white].rating, black = players_[game.black].rating;
    return !(white - black >= options_.validGmDelta && game.whiteScore == 100) &&
           !(black - white >= options_.validGmDelta && game.blackScore == 100);
  }

  Options options_;
  std::vector<Player> players_;
  std::vector<int> list_;
  std::vector<int> clusters_;
  std::vector<Game> games_;
};

// A small deterministic generator (no dependence on the library's random engines).
struct Random {
  std::uint64_t state;
  std::uint32_t next(std::uint32_t bound) {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::uint32_t>((state >> 33) % bound);
  }
};

// Four pools of players that play inside their pool (strength decides the odds), a few games
// between two of them late in the file (which joins clusters), occasional one-off guests, and
// a pair that only meets itself.
std::vector<Generated> generate(std::uint64_t seed, int count) {
  Random random{seed};
  std::vector<Generated> games;
  const int pools = 4, perPool = 7;
  for (int i = 0; i < count; ++i) {
    const int pool = static_cast<int>(random.next(pools));
    int a = static_cast<int>(random.next(perPool));
    int b = static_cast<int>(random.next(perPool));
    if (a == b) b = (b + 1) % perPool;
    std::string white = "P" + std::to_string(pool) + "-" + std::to_string(a);
    std::string black = "P" + std::to_string(pool) + "-" + std::to_string(b);
    // Pools 0 and 1 meet only in the second half of the file; pools 2 and 3 stay apart.
    if (pool < 2 && i > count / 2 && random.next(30) == 0) black = "P" + std::to_string(1 - pool) + "-" + std::to_string(b);
    if (random.next(25) == 0) black = "Guest" + std::to_string(i);
    // Two players who only meet each other: a cluster of two.
    if (random.next(30) == 0) {
      white = i % 2 ? "Pair-A" : "Pair-B";
      black = i % 2 ? "Pair-B" : "Pair-A";
    }
    // Lower numbers are stronger.
    const int roll = static_cast<int>(random.next(100)) + (b - a) * 6;
    const int score = roll > 70 ? 100 : roll > 35 ? 50 : 0;
    games.push_back({white, black, score});
  }
  return games;
}

std::string pgnOf(const std::vector<Generated>& games) {
  std::string text;
  for (const Generated& game : games) {
    const char* result = game.whiteScore == 100 ? "1-0" : game.whiteScore == 50 ? "1/2-1/2" : "0-1";
    text += test::gameText({game.white, game.black, result});
  }
  return text;
}

struct Case {
  std::uint64_t seed;
  int games;
  Options options;
};

TEST(RatingReference, FastComputationGivesTheListOfTheLiteralProcedure) {
  const Case cases[] = {
      {1, 400, {}},
      {2, 600, {.minNbGm = 12}},
      {3, 500, {.use300ptRule = true, .validGmDelta = 120}},
      {4, 500, {.minNbGm = 5, .maxIterations = 4, .use300ptRule = true, .validGmDelta = 60}},
      {5, 300, {.maxIterations = 1, .startElo = 1500}},
      {6, 40, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("seed " + std::to_string(c.seed));
    const std::vector<Generated> games = generate(c.seed, c.games);
    LiteralRatings literal(c.options);
    for (const Generated& game : games) literal.addGame(game);
    const std::string expected = literal.list();
    ASSERT_GT(literal.clusters().size(), 1u) << "the data should hold several clusters";

    test::ScratchDir dir;
    auto app = test::makeApp();
    app->settings.minNbGm = c.options.minNbGm;
    app->settings.maxIterations = c.options.maxIterations;
    app->settings.use300ptRule = c.options.use300ptRule;
    app->settings.validGmDelta = c.options.validGmDelta;
    app->settings.startElo = c.options.startElo;
    dir.write("games.pgn", pgnOf(games));
    ASSERT_TRUE(app->pgn.open("games.pgn"));
    test::run(*app, "elo");
    EXPECT_EQ(dir.read("rating.txt"), expected);
    for (const Generated& game : games) {
      for (const std::string& name : {game.white, game.black}) {
        const PlayerRating* fast = findPlayer(app->ratings, name);
        const LiteralRatings::Player* slow = literal.find(name);
        ASSERT_TRUE(fast != nullptr && slow != nullptr) << name;
        EXPECT_EQ(std::vector<int>({fast->cluster, fast->rating, fast->average, fast->countedGames, fast->points, fast->games}),
                  std::vector<int>({slow->cluster, slow->rating, slow->average, slow->counted, slow->points, slow->games}))
            << name;
      }
    }
    const std::deque<int>& clusters = app->ratings.clusters();
    EXPECT_EQ(std::vector<int>(clusters.begin(), clusters.end()), literal.clusters());
  }
}

}  // namespace
}  // namespace kestrova
