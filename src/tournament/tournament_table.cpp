#include "tournament/tournament_table.hpp"

#include <algorithm>
#include <numeric>

namespace kestrova {

void TournamentTable::reset() {
  for (int i = 0; i < count_; ++i) {
    TournamentPlayer& player = entries_[i];
    player.score = player.games = player.sonnebornBerger = player.buchholz = 0;
    for (TournamentOpponent& opponent : player.opponents()) opponent.results.clear();
    player.opponentCount = 0;
  }
  count_ = 0;
  ranking_.clear();
  entryOf_.clear();
  opponentSlot_.clear();
}

void TournamentTable::addTableGame(std::uint32_t player, std::uint32_t opponent, int score, int colour,
                                   std::int32_t round) {
  auto [found, added] = entryOf_.emplace(player, count_);
  if (added) {
    if (count_ == static_cast<int>(entries_.size())) entries_.emplace_back();
    entries_[count_].player = player;
    ++count_;
  }
  const int index = found->second;
  TournamentPlayer& entry = entries_[index];
  entry.score += score;
  ++entry.games;

  auto [slot, newOpponent] = opponentSlot_.emplace(pairKey(index, opponent), entry.opponentCount);
  if (newOpponent) {
    if (entry.opponentCount == static_cast<int>(entry.opponentSlots.size())) entry.opponentSlots.emplace_back();
    TournamentOpponent& fresh = entry.opponentSlots[entry.opponentCount++];
    fresh.player = opponent;
    fresh.entry = -1;
    fresh.results.clear();
  }
  entry.opponentSlots[slot->second].results.push_back(
      {static_cast<std::uint8_t>(score), static_cast<std::uint8_t>(colour), round});
}

const TournamentOpponent* TournamentTable::findOpponent(int entryIndex, std::uint32_t opponentPlayer) const {
  const auto found = opponentSlot_.find(pairKey(entryIndex, opponentPlayer));
  return found == opponentSlot_.end() ? nullptr : &entries_[entryIndex].opponentSlots[found->second];
}

void TournamentTable::indexOpponents() {
  opponentSlot_.clear();
  for (int i = 0; i < count_; ++i) {
    const std::span<const TournamentOpponent> opponents = entries_[i].opponents();
    for (std::size_t slot = 0; slot < opponents.size(); ++slot) {
      opponentSlot_.emplace(pairKey(i, opponents[slot].player), static_cast<int>(slot));
    }
  }
}

int TournamentTable::entryOf(std::uint32_t player) const {
  const auto found = entryOf_.find(player);
  return found == entryOf_.end() ? -1 : found->second;
}

int tournamentType(const TournamentTable& table) {
  const int n = table.playerCount();
  if (n == 0) return kNoTournament;
  int several = 0;   // players that met at least two different opponents
  long meetings = 0;  // sum of the numbers of different opponents
  for (int i = 0; i < n; ++i) {
    const int opponents = table.entry(i).opponentCount;
    if (opponents >= 2) ++several;
    meetings += opponents;
  }
  if (several == 0) return kNoTournament;
  if (several == 1) return kGauntlet;
  return meetings / n < (6L * n) / 10 ? kSwiss : kRoundRobin;
}

int sonnebornBerger(const TournamentTable& table, const TournamentPlayer& player) {
  int value = 0;
  for (const TournamentOpponent& opponent : player.opponents()) {
    const int entry = opponent.entry >= 0 ? opponent.entry : table.entryOf(opponent.player);
    if (entry < 0) continue;
    const int opponentScore = table.entry(entry).score;
    for (const TournamentResult& result : opponent.results) {
      if (result.score == 100) value += opponentScore;
      else if (result.score == 50) value += opponentScore / 2;
    }
  }
  return value;
}

int buchholz(const TournamentTable& table, const TournamentPlayer& player) {
  int value = 0;
  for (const TournamentOpponent& opponent : player.opponents()) {
    const int entry = opponent.entry >= 0 ? opponent.entry : table.entryOf(opponent.player);
    if (entry >= 0) value += table.entry(entry).score * static_cast<int>(opponent.results.size());
  }
  return value;
}

void rankTable(TournamentTable& table, int type) {
  const bool swiss = type == kSwiss;
  const int n = table.playerCount();
  for (int i = 0; i < n; ++i) {
    for (TournamentOpponent& opponent : table.entry(i).opponents()) opponent.entry = table.entryOf(opponent.player);
  }
  // Sonneborn-Berger decides (and is shown) only between players of equal score.
  std::unordered_map<int, int> playersWithScore;
  for (int i = 0; i < n; ++i) ++playersWithScore[table.entry(i).score];
  for (int i = 0; i < n; ++i) {
    TournamentPlayer& player = table.entry(i);
    player.sonnebornBerger = swiss || playersWithScore[player.score] > 1 ? sonnebornBerger(table, player) : 0;
    player.buchholz = swiss ? buchholz(table, player) : 0;
  }
  auto ranksHigher = [&](int a, int b) {
    const TournamentPlayer& first = table.entry(a);
    const TournamentPlayer& second = table.entry(b);
    if (first.score != second.score) return first.score > second.score;
    if (first.buchholz != second.buchholz) return first.buchholz > second.buchholz;
    return first.sonnebornBerger > second.sonnebornBerger;
  };
  std::vector<int>& ranking = table.ranking();
  ranking.resize(static_cast<std::size_t>(n));
  std::iota(ranking.begin(), ranking.end(), 0);
  std::stable_sort(ranking.begin(), ranking.end(), ranksHigher);

  for (int i = 0; i < n; ++i) {
    std::span<TournamentOpponent> opponents = table.entry(i).opponents();
    std::stable_sort(opponents.begin(), opponents.end(),
                     [&](const TournamentOpponent& a, const TournamentOpponent& b) {
                       if (a.entry < 0 || b.entry < 0) return a.entry > b.entry;
                       return ranksHigher(a.entry, b.entry);
                     });
  }
  table.indexOpponents();
}

}  // namespace kestrova
