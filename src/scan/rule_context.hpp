#pragma once
// What a detection rule reads and where it reports, for the ply it judges.
#include <cstdint>
#include <mutex>
#include <string_view>

#include "chess/attack_tables.hpp"
#include "chess/board.hpp"
#include "scan/detection_settings.hpp"
#include "scan/scan_run.hpp"

namespace kestrova {

class BookTable;
class Game;
class RatingRepository;

// Built once per scan; the scan sets the game's number and movetext before each game and the board
// before each ply, so that running the rules allocates nothing.
struct RuleContext {
  const DetectionSettings& settings;
  ScanRun& run;
  Game& game;                       // BestPerf writes the ratings it used into the Elo tags
  const AttackTables& tables;
  const Board& board;               // after the ply; after the last ply at the end of the game
  const RatingRepository* ratings;  // the ratings computed from this file (BestPerf), or none
  BookTable& book;                  // SuspOpening compares with the loaded book
  const Board* before = nullptr;    // before the ply
  std::string_view movetext;        // the game's movetext as read (AbnormTerm)
  std::uint32_t gameNumber = 0;
  // Held while asking the book, whose lookups share one move list, when scans run on several threads.
  std::mutex* bookLock = nullptr;

  // A side's gate is open while the detection's count of reports for it in this game is below mxo.
  bool gateOpen(int number, int side) const {
    const DetectionCounts& count = run.counts[number];
    return (side == 1 ? count.white : count.black) < settings[number].maxOccurrences;
  }
};

}  // namespace kestrova
