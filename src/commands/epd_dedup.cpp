#include "commands/epd_dedup.hpp"

#include <unordered_set>

#include "chess/fen.hpp"
#include "chess/zobrist.hpp"
#include "commands/epd_diagrams.hpp"
#include "pgn/output_files.hpp"
#include "platform/console.hpp"
#include "platform/line_reader.hpp"
#include "platform/output_file.hpp"

namespace kestrova {

namespace {

// A position is read from the first 255 characters of its line; the rest is copied as it stands.
constexpr std::size_t kPieceLimit = 256;

}  // namespace

bool removeRepeatedPositions(Console& console, const PgnFile& open, const ZobristTables& zobrist,
                             const std::string& in, const std::string& out) {
  console.print(colour::kNormal, "\n- processing the %s file\n", in.c_str());
  platform::LineReader reader;
  if (!reader.open(in)) {
    console.fail("- can't open the epd source file\n");
    return false;
  }
  platform::OutputFile output;
  if (!createOutputFileOrSay(console, open, output, out, {in})) return false;
  // One pass: a line is a repetition when its keys were seen on an earlier line. The program's
  // Zobrist keys cover placement and side to move, exactly what makes two lines the same
  // position, and they exist whether a book is loaded or not.
  std::unordered_set<PositionKeys, PositionKeysHash> seen;
  Board board;
  std::string piece;
  bool lineStart = true;
  bool keepLine = true;
  int removed = 0;
  int remaining = 0;
  while (reader.read(piece, kPieceLimit)) {
    if (lineStart) {
      board.clear();
      parseFen(board, piece);
      // A line without a side to move counts as Black to move.
      const int side = board.side == kWhite ? kWhite : kBlack;
      keepLine = seen.insert(computePositionKeys(zobrist, board, side)).second;
      if (keepLine) ++remaining;
      else ++removed;
    }
    if (keepLine) output.write(piece);
    lineStart = !piece.empty() && piece.back() == '\n';
  }
  if (!finishOutput(console, output)) return false;
  console.print(colour::kNormal, "- %d duplicated positions deleted\n- %d remaining positions\n", removed, remaining);
  return true;
}

}  // namespace kestrova
