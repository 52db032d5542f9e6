#pragma once
// anabk: walking the loaded book from root positions to find where lines turn rare, and listing
// those positions (tree task) or having the engine evaluate them (eval task).
#include <string>

#include "book/book_parts.hpp"

namespace kestrova {

class CommandLine;
class EngineClient;
class PgnFile;
namespace platform {
class EscapePoll;
struct Timers;
}

struct BookAnalysisOptions {
  static constexpr int kRunLimit = 1000;   // the window's top that also treats lines leaving the book
  static constexpr int kMaxWalkPlies = 99;  // the game can take back only its first 99 half-moves

  long threshold = 1;  // "-occ<": a move played in fewer games is rare
  int rareLo = 0;      // "-rnk=" as a window (rareLo, rareHi] of rare runs
  int rareHi = 1;
  bool evalTask = false;  // "-tsk=eval"
  int ms = 1000;          // "-ms="
  bool stop = false;      // "-stop": nothing below a treated position
  int maxPly = 14;        // "-ply="
  bool showPv = false;    // "-showpv"
  std::string out = "tree.epd";
  bool ddup = false;  // the tree goes through "tmp.epd" and loses its repeated positions
  bool vfy = false;   // lines with sharp changes of evaluation to "evaluated.pgn"
  bool dbg = false;   // every evaluated line to "anabk-debug.pgn"

  static constexpr const char* kDedupFile = "tmp.epd";
  // Where the walks write the tree: with "-ddup" the list that still holds repeated positions.
  std::string treeFile() const { return ddup ? kDedupFile : out; }
};

// The options of the command line; "-ply=" is held to 0..99.
BookAnalysisOptions readBookAnalysisOptions(const CommandLine& line);

// The command after its options: walks the book below each root of "anabk.epd" (or the start
// position), asking before each walk; `escape` is polled during the walks. The output files
// replace the earlier ones once every walk asked for is done, or not at all. The open PGN file,
// the roots and the book are never overwritten. True when this run wrote the tree task's list.
bool analyseBook(const BookParts& parts, EngineClient& engine, platform::Timers& timers, const PgnFile& open,
                 const BookAnalysisOptions& options, platform::EscapePoll& escape);

}  // namespace kestrova
