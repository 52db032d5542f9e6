#pragma once
// The players, games and event groups collected from the open PGN file for the ratings and the
// tournament finder.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kestrova {

struct GameLoopParts;
class TagTable;
namespace platform {
struct Timers;
}

struct PlayerRating {
  std::string name;       // the White or Black tag, exact
  int cluster = 0;
  int rating = 0;
  int average = 0;        // average opponent rating of the last iteration (the list's x)
  int countedGames = 0;   // games counted in the last iteration
  int games = 0;          // games in the file
  int points = 0;         // 100 per win, 50 per draw, over the counted games
  int wins = 0;           // over the counted games
  int draws = 0;
};

struct EventGroup {
  int number = 0;         // from 1, in file order
  std::string event;
  std::string date;       // EventDate, or Date when EventDate is empty
};

// One game with a known result. Players and groups are indices into the repository.
struct RatedGame {
  std::uint32_t white = 0;
  std::uint32_t black = 0;
  std::uint32_t group = 0;
  std::int32_t round = 0;       // leading integer of the Round tag
  std::uint8_t whiteScore = 0;  // 100, 50 or 0
  std::uint8_t blackScore = 0;
  std::uint8_t siteLength = 0;
  std::size_t siteOffset = 0;   // into the repository's site text
};

// Each cluster's games (by White's cluster, in file order) and players (in list order), so that
// rating one cluster never walks the games of the others. Built when the players are clustered.
struct ClusterIndex {
  std::vector<std::uint32_t> games;
  std::vector<std::uint32_t> players;
  std::vector<std::size_t> firstGame;    // by cluster number, one more entry at the end
  std::vector<std::size_t> firstPlayer;
  // By player: its place among the players being rated, -1 otherwise (kept at -1 between clusters,
  // so that rating many small clusters never clears a table of all players).
  std::vector<std::int32_t> ratedSlot;
  bool built = false;

  std::span<const std::uint32_t> gamesOf(int cluster) const { return slice(games, firstGame, cluster); }
  std::span<const std::uint32_t> playersOf(int cluster) const { return slice(players, firstPlayer, cluster); }

 private:
  static std::span<const std::uint32_t> slice(const std::vector<std::uint32_t>& items,
                                              const std::vector<std::size_t>& first, int cluster) {
    if (cluster < 0 || static_cast<std::size_t>(cluster) + 1 >= first.size()) return {};
    return std::span<const std::uint32_t>(items).subspan(first[cluster], first[cluster + 1] - first[cluster]);
  }
};

class RatingRepository {
 public:
  RatingRepository() = default;
  // The name index points into the player records: the repository is never copied.
  RatingRepository(const RatingRepository&) = delete;
  RatingRepository& operator=(const RatingRepository&) = delete;

  // Adds the game whose tags are loaded; false (nothing added) when either side's score is
  // unknown. Also places the game in its event group.
  bool addRatedGame(const TagTable& tags);
  // The player of that exact name; a new one goes to the head of the list with a new cluster.
  std::uint32_t findOrAddPlayer(std::string_view name);
  // Index of the player of that exact name, or -1.
  long findPlayerIndex(std::string_view name) const;

  // Frees every record; the repository is then empty and not filled.
  void clear();

  // Filled from the PGN file of this generation (the file's generation at the time of the fill).
  void markFilled(std::uint32_t generation) {
    filled_ = true;
    generation_ = generation;
  }
  bool isFilled() const { return filled_; }
  bool isFilledFrom(std::uint32_t generation) const { return filled_ && generation_ == generation; }

  std::uint64_t gamesRead = 0;  // by the last fill, rated or not
  ClusterIndex clusterIndex;

  const std::vector<RatedGame>& games() const { return games_; }
  const std::vector<EventGroup>& groups() const { return groups_; }
  std::size_t playerCount() const { return players_.size(); }
  PlayerRating& player(std::uint32_t index) { return players_[index]; }
  const PlayerRating& player(std::uint32_t index) const { return players_[index]; }
  std::string_view site(const RatedGame& game) const {
    return std::string_view(sites_).substr(game.siteOffset, game.siteLength);
  }

  // The player list from its head; sorting reorders it.
  std::deque<std::uint32_t>& playerList() { return list_; }
  const std::deque<std::uint32_t>& playerList() const { return list_; }
  // The clusters to rate, from the head of their list.
  std::deque<int>& clusters() { return clusters_; }
  const std::deque<int>& clusters() const { return clusters_; }

 private:
  // The game repeats a pairing of a round the last group has finished: a new run of its event.
  bool startsNewCycle(const RatedGame& game) const;

  std::vector<RatedGame> games_;
  std::deque<PlayerRating> players_;  // by creation; a deque keeps the names where the index points
  std::unordered_map<std::string_view, std::uint32_t> byName_;
  std::deque<std::uint32_t> list_;
  std::deque<int> clusters_;
  std::vector<EventGroup> groups_;
  // The games of the last group by round, White and Black: what tells its next cycle apart.
  struct PairingKey {
    std::int32_t round;
    std::uint32_t white;
    std::uint32_t black;
    bool operator==(const PairingKey&) const = default;
  };
  struct PairingHash {
    std::size_t operator()(const PairingKey& key) const {
      const std::uint64_t round = static_cast<std::uint32_t>(key.round);
      return std::hash<std::uint64_t>{}((static_cast<std::uint64_t>(key.white) << 32 | key.black) ^
                                        (round * 0x9E3779B97F4A7C15ULL));
    }
  };
  struct Cycle {
    std::int32_t highestRound = INT32_MIN;
    int mostPerPairing = 0;  // games of one pairing with the same colours in one round
    std::unordered_map<PairingKey, int, PairingHash> games;
  };
  Cycle cycle_;
  std::string sites_;  // every game's Site text, one after the other
  bool filled_ = false;
  std::uint32_t generation_ = 0;
};

// 100, 50 or 0 for the side (1 White, 0 Black) from a Result text; -1 when the result is unknown.
int gameScore(int side, std::string_view result);

// Rebuilds the repository from every game of the open PGN file with a known result; the others are
// left out and counted. False, with the repository empty, when Ctrl-C stopped the reading.
bool fillRepository(RatingRepository& repository, const GameLoopParts& games, platform::Timers& timers);

// The player of that exact name, or none. Valid until the repository is filled again or released.
const PlayerRating* findPlayer(const RatingRepository& repository, std::string_view name);

// Frees all records (after a scan, syn and givelo).
void releaseRepository(RatingRepository& repository);

}  // namespace kestrova
