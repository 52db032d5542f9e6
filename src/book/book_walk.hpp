#pragma once
// The depth-first walk of anabk below one root position: rare runs, treated positions, the
// engine's evaluations, the transposition count and the "-vfy" / "-dbg" games.
#include <cstddef>
#include <string>

#include "book/book_analysis.hpp"
#include "book/book_parts.hpp"

namespace kestrova {

class EngineClient;
namespace platform {
class EscapePoll;
class OutputFile;
struct Timers;
}

struct BookWalkCounters {
  long nodes = 0;           // book moves followed
  long paths = 0;           // lines ended (transpositions walked again count again)
  long transpositions = 0;  // positions with more games below them than the move that led there
};

// The open files of one root; a null pointer is a file the options do not ask for.
struct BookWalkFiles {
  platform::OutputFile* tree = nullptr;
  platform::OutputFile* verified = nullptr;
  platform::OutputFile* debug = nullptr;
};

class BookWalk {
 public:
  BookWalk(const BookParts& parts, EngineClient& engine, platform::Timers& timers, const BookAnalysisOptions& options,
           platform::EscapePoll& escape, BookWalkFiles files);

  // Walks the book from the current position of the board (the root, at ply 0 of the game) and
  // leaves the board there again.
  void run();

  const BookWalkCounters& counters() const { return counters_; }
  bool escaped() const { return escaped_; }

 private:
  // The nearest evaluated move above a position on the current line.
  struct EarlierEvaluation {
    int cls = 0;  // 0: none yet
    bool blackToMove = false;
    int ply = 0;
  };

  void walk(int depthLeft, long leadingGames, int parentRun, std::size_t entryIndex, EarlierEvaluation earlier);
  // Has the engine evaluate the position; returns the length of the text shown for it.
  int evaluate(std::size_t entryIndex);
  void writeDebugGame();
  void writeVerifiedGame(int earlierPly, int previous, int current);
  // The moves of the line so far as PGN, with the comment of one ply after it (none for 0).
  void writeLineMoves(platform::OutputFile& out, bool withComments, int commentPly, int previous);

  BookParts parts_;
  EngineClient& engine_;
  platform::Timers& timers_;
  const BookAnalysisOptions& options_;
  platform::EscapePoll& escape_;
  BookWalkFiles files_;
  BookWalkCounters counters_;
  bool escaped_ = false;
  int rootSide_ = 1;
  std::string fen_;    // the position text of the position being looked at
  std::string text_;   // what is printed for a move or an evaluation
};

}  // namespace kestrova
