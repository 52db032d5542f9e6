#pragma once
// One tournament at a time: its players, their opponents and results, and their ranking.
#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

namespace kestrova {

struct TournamentResult {
  std::uint8_t score = 0;   // 100, 50 or 0 for this player
  std::uint8_t colour = 0;  // 1 White, 0 Black
  std::int32_t round = 0;   // leading integer of the Round tag
};

struct TournamentOpponent {
  std::uint32_t player = 0;  // the opponent in the rating repository
  int entry = -1;            // the opponent's TournamentPlayer entry, linked when ranking
  std::vector<TournamentResult> results;  // in game order
};

struct TournamentPlayer {
  std::uint32_t player = 0;  // in the rating repository
  int score = 0;             // 100 per win, 50 per draw
  int games = 0;
  int sonnebornBerger = 0;   // hundredths of points; stored only for players tied on score, or in a Swiss
  int buchholz = 0;          // hundredths of points; stored only in a Swiss
  // The opponents in use are the first opponentCount entries; the others are kept for reuse.
  std::vector<TournamentOpponent> opponentSlots;
  int opponentCount = 0;

  std::span<const TournamentOpponent> opponents() const { return {opponentSlots.data(), static_cast<std::size_t>(opponentCount)}; }
  std::span<TournamentOpponent> opponents() { return {opponentSlots.data(), static_cast<std::size_t>(opponentCount)}; }
};

class TournamentTable {
 public:
  // Empties the table for the next tournament; entries and their storage are kept for reuse.
  void reset();

  // One game seen from one side: the player's score and colour against the opponent.
  void addTableGame(std::uint32_t player, std::uint32_t opponent, int score, int colour, std::int32_t round = 0);

  int playerCount() const { return count_; }
  // Entries in order of first appearance.
  TournamentPlayer& entry(int index) { return entries_[index]; }
  const TournamentPlayer& entry(int index) const { return entries_[index]; }
  // Entry indices from the winner down, once ranked.
  std::span<const int> ranking() const { return ranking_; }
  std::vector<int>& ranking() { return ranking_; }

  // The entry's results against an opponent player, or none when they did not meet.
  const TournamentOpponent* findOpponent(int entryIndex, std::uint32_t opponentPlayer) const;
  // Rebuilds the opponent lookup after the opponents were reordered.
  void indexOpponents();
  // The entry of a player of this tournament, or -1.
  int entryOf(std::uint32_t player) const;

  int tournamentsHandled = 0;
  // Each tournament is followed by the match report of every pairing (ftrn -pairs).
  bool reportPairings = false;

 private:
  static std::uint64_t pairKey(int entryIndex, std::uint32_t opponentPlayer) {
    return (static_cast<std::uint64_t>(entryIndex) << 32) | opponentPlayer;
  }

  std::vector<TournamentPlayer> entries_;
  int count_ = 0;
  std::vector<int> ranking_;
  std::unordered_map<std::uint32_t, int> entryOf_;
  std::unordered_map<std::uint64_t, int> opponentSlot_;  // (entry, opponent player) -> slot
};

enum TournamentType : int { kNoTournament = 0, kRoundRobin = 1, kGauntlet = 2, kSwiss = 3 };

// Round robin, gauntlet or Swiss by how many different opponents the players met; none for a
// single match or an empty table.
int tournamentType(const TournamentTable& table);

// Hundredths of points: the opponents' scores of the games won, half of them for the draws.
int sonnebornBerger(const TournamentTable& table, const TournamentPlayer& player);

// Hundredths of points: the opponents' scores, once for each game against them.
int buchholz(const TournamentTable& table, const TournamentPlayer& player);

// Ranks the players by score, then (in a Swiss, as Swiss results are published) Buchholz, then
// Sonneborn-Berger, first appearance after that; each player's opponents by the same key.
void rankTable(TournamentTable& table, int type);

}  // namespace kestrova
