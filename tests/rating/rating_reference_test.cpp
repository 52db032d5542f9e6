// The fast computation (one pass per iteration, union-find clustering) against a literal,
// slow reading of the rating procedure, on generated files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "rating/elo_statistics.hpp"
#include "rating/game_text.hpp"
#include "rating/rating_difference.hpp"
#include "rating/rating_repository.hpp"
#include "support/test_app.hpp"

namespace kestrova {
namespace {

// Every step as the procedure states it: lists with new items at the head, linear searches,
// renumbering by walking the games, and a pass over all games for every player.
struct LiteralRatings {
  struct Player {
    std::string name;
    int cluster = 0, rating = 0, average = 0, counted = 0, games = 0, points = 0, wins = 0, draws = 0;
  };
  struct Game {
    int white, black, whiteScore;
  };
  RatingSettings o;
  std::vector<Player> players = {};
  std::vector<int> list = {}, clusters = {};  // from the head
  std::vector<Game> games = {};

  int findOrAdd(const std::string& name) {
    for (int p : list) {
      if (players[p].name == name) return p;
    }
    players.push_back({name, list.empty() ? 1 : players[list.front()].cluster + 1});
    list.insert(list.begin(), static_cast<int>(players.size()) - 1);
    return list.front();
  }

  void addGame(const std::string& white, const std::string& black, int whiteScore) {
    games.push_back({findOrAdd(white), findOrAdd(black), whiteScore});
    ++players[games.back().white].games, ++players[games.back().black].games;
  }

  void rate(int c) {
    std::vector<int> rated;
    for (int p : list) {
      if (players[p].cluster == c && players[p].games >= o.minNbGm) rated.push_back(p);
    }
    for (int p : rated) players[p].rating = players[p].average = o.startElo;
    const int n = static_cast<int>(rated.size());
    auto difference = [](const Player& player) { return ratingDifference(player.points * 10 / player.counted); };
    float previous = 999.0f;
    for (int stability = 0, iteration = 1; n > 0 && o.maxIterations > 0 && stability < 10; ++iteration) {
      for (int p : rated) {
        Player& player = players[p];
        long long sum = 0;
        player.points = player.counted = player.wins = player.draws = 0;
        for (const Game& game : games) {
          const Player &white = players[game.white], &black = players[game.black];
          const int gap = white.rating - black.rating;
          const bool dropped = o.use300ptRule && ((gap >= o.validGmDelta && game.whiteScore == 100) ||
                                                  (-gap >= o.validGmDelta && game.whiteScore == 0));
          if (white.cluster != c || white.games < o.minNbGm || black.games < o.minNbGm || dropped) continue;
          if (game.white != p && game.black != p) continue;
          sum += players[game.white == p ? game.black : game.white].rating;
          const int score = game.white == p ? game.whiteScore : 100 - game.whiteScore;
          player.points += score;
          player.wins += score == 100, player.draws += score == 50;
          ++player.counted;
        }
        player.average = player.counted > 0 ? static_cast<int>(sum / player.counted) : 0;
      }
      long long s = 0, variation = 0;
      for (int p : rated) s += players[p].counted > 0 ? players[p].average + difference(players[p]) : 0;
      for (int p : rated) {
        Player& player = players[p];
        if (player.counted == 0) continue;
        const int updated = player.average + difference(player) / (n == 2 ? 2 : 1) + static_cast<int>(o.startElo - s / n);
        variation += std::abs(updated - player.rating);
        player.rating = updated;
      }
      const float averageChange = static_cast<float>(variation) / static_cast<float>(n);
      stability += !(averageChange < previous);
      previous = averageChange;
      if (n < 3 || iteration >= o.maxIterations) break;
    }
  }

  // Clusters, rates, sorts and returns the rating list as it is written to the file.
  std::string ratingList() {
    for (const Game& game : games) {
      const int white = players[game.white].cluster, black = players[game.black].cluster;
      for (Player& player : players) player.cluster = player.cluster == black ? white : player.cluster;
    }
    for (std::size_t i = 0; i < list.size(); ++i) {
      const int c = players[list[i]].cluster;
      if (i > 0 && c == players[list[i - 1]].cluster) continue;
      if (std::find(clusters.begin(), clusters.end(), c) == clusters.end()) clusters.insert(clusters.begin(), c);
    }
    for (int c : clusters) rate(c);
    for (bool moved = true; moved;) {
      moved = false;
      for (std::size_t i = 1; i < list.size(); ++i) {
        if (players[list[i]].rating > players[list[i - 1]].rating) std::swap(list[i], list[i - 1]), moved = true;
      }
    }
    std::string text;
    for (int c : clusters) {
      text += "made by Kestrova 0.92 \nstarting elo : " + std::to_string(o.startElo) + "\nmaximum iterations : " +
              std::to_string(o.maxIterations) + "\nminimal number of games : " + std::to_string(o.minNbGm) +
              "\ncluster : " + std::to_string(c) + "\n" +
              (o.use300ptRule ? "valid game delta : " + std::to_string(o.validGmDelta) +
                                    " elo (all draws and wins against stronger players are still included)\n"
                              : "") +
              "\n";
      int rank = 0;
      for (int p : list) {
        const Player& player = players[p];
        if (player.cluster != c || player.counted == 0) continue;
        const std::string head = std::to_string(++rank) + "." + player.name;
        const std::string points = std::to_string(player.points / 100) + (player.points % 100 ? ".5" : "");
        const EloEstimate e = estimateElo({player.wins, player.draws, player.counted - player.wins - player.draws});
        char fields[128];
        std::snprintf(fields, sizeof fields, ", err=%s, pts=%s, gm=%d, pc=%.1f%%, dr=%.1f%%\n",
                      e.finite && e.error95 < 1e9 ? std::to_string(std::lround(e.error95)).c_str() : "inf",
                      points.c_str(), player.counted, 100.0 * player.points / (100 * player.counted),
                      100.0 * player.draws / player.counted);
        text += head + (head.size() < 14 ? " :\t\t\t" : head.size() < 22 ? " :\t\t" : " :\t") + "elo=" +
                std::to_string(player.rating) + ", x=" + std::to_string(player.average) + ", sc=" + points + "/" +
                std::to_string(player.counted) + fields;
      }
      text += "\n";
    }
    return text;
  }
};

// Four pools of players that play inside their pool (strength decides the odds), a few games
// between two of them late in the file (which joins clusters), one-off guests with names of every
// length, and a pair that only meets itself; into the literal procedure and a PGN text. A small
// generator of its own keeps the files the same everywhere.
std::string generate(std::uint64_t state, int count, LiteralRatings& literal) {
  auto next = [&](std::uint32_t bound) {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<int>((state >> 33) % bound);
  };
  std::string pgn;
  for (int i = 0; i < count; ++i) {
    const int pool = next(4), a = next(7), b = (a + 1 + next(6)) % 7;
    std::string white = "P" + std::to_string(pool) + "-" + std::to_string(a);
    std::string black = "P" + std::to_string(pool) + "-" + std::to_string(b);
    // Pools 0 and 1 meet only in the second half of the file; pools 2 and 3 stay apart.
    if (pool < 2 && i > count / 2 && next(30) == 0) black = "P" + std::to_string(1 - pool) + "-" + std::to_string(b);
    if (next(25) == 0) black = "Guest" + std::string(i % 17, '-') + std::to_string(i);
    if (next(30) == 0) white = i % 2 ? "Pair-A" : "Pair-B", black = i % 2 ? "Pair-B" : "Pair-A";
    const int roll = next(100) + (b - a) * 6;  // lower numbers are stronger
    const int score = roll > 70 ? 100 : roll > 35 ? 50 : 0;
    literal.addGame(white, black, score);
    pgn += test::gameText({white, black, score == 100 ? "1-0" : score == 50 ? "1/2-1/2" : "0-1"});
  }
  return pgn;
}

TEST(RatingReference, FastComputationGivesTheListOfTheLiteralProcedure) {
  const std::pair<int, RatingSettings> cases[] = {
      {400, {.minNbGm = 1}},
      {600, {.minNbGm = 12}},
      {500, {.minNbGm = 1, .use300ptRule = true, .validGmDelta = 120}},
      {500, {.minNbGm = 5, .maxIterations = 4, .use300ptRule = true, .validGmDelta = 60}},
      {300, {.minNbGm = 1, .startElo = 1500, .maxIterations = 1}},
      {40, {.minNbGm = 1}},
      {40, {.minNbGm = 1, .maxIterations = 0}},
  };
  std::uint64_t seed = 0;
  for (const auto& [count, options] : cases) {
    SCOPED_TRACE("seed " + std::to_string(++seed));
    LiteralRatings literal{options};
    test::ScratchDir dir;
    dir.write("games.pgn", generate(seed, count, literal));
    const std::string expected = literal.ratingList();
    ASSERT_GT(literal.clusters.size(), 1u) << "the data should hold several clusters";
    auto app = test::makeApp();
    app->settings.rating = options;
    ASSERT_TRUE(app->pgn.open("games.pgn"));
    test::run(*app, "elo");
    EXPECT_EQ(dir.read("rating.txt"), expected);
    for (const LiteralRatings::Player& slow : literal.players) {
      const PlayerRating* fast = findPlayer(app->ratings, slow.name);
      ASSERT_NE(fast, nullptr) << slow.name;
      EXPECT_EQ(std::vector<int>({fast->cluster, fast->rating, fast->average, fast->countedGames, fast->points, fast->games}),
                std::vector<int>({slow.cluster, slow.rating, slow.average, slow.counted, slow.points, slow.games}))
          << slow.name;
    }
    EXPECT_EQ(std::vector<int>(app->ratings.clusters().begin(), app->ratings.clusters().end()), literal.clusters);
  }
}

}  // namespace
}  // namespace kestrova
