#pragma once
// The positions fepd searches for: the diagrams of an EPD file, and the match after each ply that
// writes the game to the file of the diagram it stands in.
#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "chess/move.hpp"

namespace kestrova {

class Console;
class Game;
class PgnFile;
namespace platform {
class OutputFile;
}
struct GameLoopParts;
struct ZobristTables;
namespace platform {
struct Timers;
}

// Zobrist keys are already uniformly spread: mixing the two halves is enough for a hash table.
struct PositionKeysHash {
  std::size_t operator()(const PositionKeys& keys) const {
    return static_cast<std::size_t>(keys.primary ^ (keys.secondary >> 1));
  }
};

// One diagram of an EPD file: the keys of its position and its line number, which also names its
// output file "epd-%d.pgn".
struct EpdDiagram {
  PositionKeys keys;
  int lineNumber = 0;
};

class EpdDiagramList {
 public:
  void add(const EpdDiagram& diagram);
  void clear();
  bool empty() const { return diagrams_.empty(); }
  std::size_t size() const { return diagrams_.size(); }
  // In file order.
  const std::vector<EpdDiagram>& diagrams() const { return diagrams_; }

  // The line number of the diagram with these keys, 0 when none; a position listed on several
  // lines answers with the last of them.
  int find(const PositionKeys& keys) const;

 private:
  std::vector<EpdDiagram> diagrams_;
  // Keys to line number: one look-up per ply however long the list is.
  std::unordered_map<PositionKeys, int, PositionKeysHash> index_;
};

// Replaces the list by the diagrams of the file. Lines under 15 characters are skipped but
// counted; every other line must hold a position with exactly two kings, else the load stops
// (reported; the diagrams before that line stay). The current position is left untouched.
// 1 on success, 0 when the file is missing or a diagram is corrupted.
int loadEpdDiagrams(Console& console, const ZobristTables& zobrist, EpdDiagramList& list, const std::string& path);

// The name of the file that collects the games of the diagram on that line.
std::string epdOutputName(int lineNumber);

// Sets the game's Annotator tag to say that the position after `ply` is the diagram of that line,
// and writes the whole game to the diagram's file.
void writeEpdMatch(Game& game, PgnFile& pgn, platform::OutputFile& out, int printCmt, int lineNumber, int ply);

// The fepd command's work: loads the EPD file, empties the diagrams' output files and replays
// every game of the open PGN file, looking for them after each half-move.
void searchEpdPositions(const GameLoopParts& games, platform::Timers& timers, const std::string& epdPath);

}  // namespace kestrova
