#include "rating/rating_repository.hpp"

#include <algorithm>

#include "pgn/game.hpp"
#include "pgn/game_loop.hpp"
#include "pgn/pgn_file.hpp"
#include "pgn/tag_table.hpp"
#include "platform/clock.hpp"
#include "platform/console.hpp"
#include "platform/interrupt.hpp"
#include "platform/numbers.hpp"

namespace kestrova {

int gameScore(int side, std::string_view result) {
  if (result.size() < 3) return -1;
  if (result.starts_with("1-")) return side == 1 ? 100 : 0;
  if (result.starts_with("0-")) return side == 1 ? 0 : 100;
  if (result.starts_with("1/2") || result.starts_with("0.5") || result.starts_with("0,5")) return 50;
  return -1;
}

std::uint32_t RatingRepository::findOrAddPlayer(std::string_view name) {
  const auto found = byName_.find(name);
  if (found != byName_.end()) return found->second;
  const auto index = static_cast<std::uint32_t>(players_.size());
  PlayerRating& added = players_.emplace_back();
  added.name.assign(name);
  added.cluster = list_.empty() ? 1 : players_[list_.front()].cluster + 1;
  byName_.emplace(added.name, index);
  list_.push_front(index);
  return index;
}

long RatingRepository::findPlayerIndex(std::string_view name) const {
  const auto found = byName_.find(name);
  return found == byName_.end() ? -1 : static_cast<long>(found->second);
}

bool RatingRepository::addRatedGame(const TagTable& tags) {
  const std::string_view result = tags.value(kTagResult);
  const int whiteScore = gameScore(1, result);
  const int blackScore = gameScore(0, result);
  if (whiteScore < 0 || blackScore < 0) return false;

  RatedGame game;
  game.white = findOrAddPlayer(tags.value(kTagWhite));
  game.black = findOrAddPlayer(tags.value(kTagBlack));
  game.whiteScore = static_cast<std::uint8_t>(whiteScore);
  game.blackScore = static_cast<std::uint8_t>(blackScore);
  // Kept whole: a long match numbered by game must not look like a round drop past 32767.
  game.round = static_cast<std::int32_t>(std::clamp<long>(leadingInteger(tags.value(kTagRound)), INT32_MIN, INT32_MAX));
  ++players_[game.white].games;
  ++players_[game.black].games;

  // Consecutive games of one site share its text.
  const std::string_view site = tags.value(kTagSite);
  const std::size_t length = std::min<std::size_t>(site.size(), 255);
  if (!games_.empty() && this->site(games_.back()) == site.substr(0, length)) {
    game.siteOffset = games_.back().siteOffset;
  } else {
    game.siteOffset = sites_.size();
    sites_.append(site.substr(0, length));
  }
  game.siteLength = static_cast<std::uint8_t>(length);

  const std::string& event = tags.value(kTagEvent);
  if (groups_.empty() || groups_.back().event != std::string_view(event).substr(0, 70) || startsNewCycle(game)) {
    cycle_ = {};
    EventGroup& group = groups_.emplace_back();
    group.number = static_cast<int>(groups_.size());
    group.event.assign(event, 0, 70);
    const std::string& eventDate = tags.value(kTagEventDate);
    group.date = eventDate.empty() ? tags.value(kTagDate) : eventDate;
  }
  game.group = static_cast<std::uint32_t>(groups_.size() - 1);
  cycle_.highestRound = std::max(cycle_.highestRound, game.round);
  cycle_.mostPerPairing = std::max(cycle_.mostPerPairing, ++cycle_.games[{game.round, game.white, game.black}]);
  games_.push_back(game);
  clusterIndex.built = false;
  return true;
}

bool RatingRepository::startsNewCycle(const RatedGame& game) const {
  // Managers playing games at once write them as they end, so an earlier round may follow a later
  // one (1 1 2 1 2 2). Only a pairing of a lower round that already has all its games there (with
  // these colours) is the next run of the schedule, which managers number from round 1 again. A
  // later Date never separates: one run may go on past midnight.
  if (game.round >= cycle_.highestRound) return false;
  const auto found = cycle_.games.find({game.round, game.white, game.black});
  return found != cycle_.games.end() && found->second >= cycle_.mostPerPairing;
}

void RatingRepository::clear() {
  games_ = {};
  byName_ = {};
  players_ = {};
  list_ = {};
  clusters_ = {};
  groups_ = {};
  cycle_ = {};
  sites_ = {};
  gamesRead = 0;
  clusterIndex = {};
  filled_ = false;
  generation_ = 0;
}

bool fillRepository(RatingRepository& repository, const GameLoopParts& games, platform::Timers& timers) {
  // A new fill starts empty: games read twice would count twice.
  repository.clear();
  Console& console = games.console;
  console.writeText("> filling repository\n", colour::kSuccess);
  timers.restartProcessTimer();
  // An unfinished game has no score to rate or to put in a table: it is left out of both, as rating
  // programs do, and the other games are rated.
  struct Filling : GameVisitor {
    Filling(RatingRepository& repository, const GameLoopParts& games, GameLoop& loop)
        : repository(repository), games(games), loop(loop) {}
    void onGame() override {
      if (repository.addRatedGame(games.game.tags)) return;
      loop.leaveOut("unfinished (Result \"" + games.game.tags.value(kTagResult) + "\")");
      ++unfinished;
    }
    RatingRepository& repository;
    const GameLoopParts& games;
    GameLoop& loop;
    std::uint64_t unfinished = 0;
  };
  GameLoop loop(games, GameDepth::kTags);
  loop.showProgress("> scanning game ", 64);
  Filling visitor(repository, games, loop);
  const GameCounts counts = loop.run(visitor);
  repository.gamesRead = counts.read;
  console.print(colour::kNormal, "> %llu games scanned\n> process time : %ds\n",
                static_cast<unsigned long long>(repository.gamesRead), timers.elapsedSeconds());
  if (visitor.unfinished > 0) {
    console.print(colour::kNormal, "> %llu unfinished games left out\n",
                  static_cast<unsigned long long>(visitor.unfinished));
  }
  printGameCounts(console, counts);
  // Ratings or tables of the first part of a file would pass for the whole file's.
  if (platform::interruptRequested()) {
    repository.clear();
    return false;
  }
  repository.markFilled(games.pgn.generation());
  return true;
}

const PlayerRating* findPlayer(const RatingRepository& repository, std::string_view name) {
  const long index = repository.findPlayerIndex(name);
  return index < 0 ? nullptr : &repository.player(static_cast<std::uint32_t>(index));
}

void releaseRepository(RatingRepository& repository) { repository.clear(); }

}  // namespace kestrova
