#include "book/book_walk.hpp"

#include <climits>
#include <cstdio>
#include <cstdlib>

#include "book/book_table.hpp"
#include "book/evaluation_class.hpp"
#include "chess/chess_core.hpp"
#include "chess/fen.hpp"
#include "engine/engine_client.hpp"
#include "engine/info_parser.hpp"
#include "pgn/game.hpp"
#include "pgn/replay.hpp"
#include "platform/console.hpp"
#include "platform/escape_key.hpp"
#include "platform/output_file.hpp"
#include "platform/string_manager.hpp"

namespace kestrova {

namespace {

constexpr std::uint16_t kHashMb = 128;
constexpr std::size_t kMoveBlanks = 16;        // clears a move text and what followed it
constexpr std::size_t kEvaluationBlanks = 13;  // clears an evaluation text

}  // namespace

BookWalk::BookWalk(const BookParts& parts, EngineClient& engine, platform::Timers& timers,
                   const BookAnalysisOptions& options, platform::EscapePoll& escape, BookWalkFiles files)
    : parts_(parts), engine_(engine), timers_(timers), options_(options), escape_(escape), files_(files) {
  fen_.reserve(128);
  text_.reserve(64);
}

void BookWalk::run() {
  rootSide_ = parts_.chess.board.side == kBlack ? kBlack : kWhite;
  // The root itself is never treated: it comes from a move played more often than the threshold.
  walk(options_.maxPly, options_.threshold + 1, 0, 0, EarlierEvaluation{});
}

void BookWalk::walk(int depthLeft, long leadingGames, int parentRun, std::size_t entryIndex,
                    EarlierEvaluation earlier) {
  // A stop asked for during an evaluation was taken there.
  if (escaped_ || escape_.pressed()) {
    escaped_ = true;
    return;
  }
  BookTable& book = parts_.book;
  Board& board = parts_.chess.board;
  Game& game = parts_.game;
  Console& console = parts_.console;
  const int side = board.side == kWhite ? kWhite : kBlack;
  writePlacementFen(board, side, fen_);
  const BookKeys keys = book.computeBookKeys(board, side);
  int count = book.lookupPosition(keys.key, keys.lock);
  BookEntry* entry = entryIndex != 0 ? &book.entries()[entryIndex] : nullptr;

  if (entry != nullptr && count > 0) {
    unsigned long long below = 0;
    for (int i = 0; i < count; ++i) below += book.moveList().moves[i].n;
    if (below > entry->n) ++counters_.transpositions;
  }

  const bool rare = leadingGames < options_.threshold;
  const int run = rare ? parentRun + 1 : 0;
  const bool treated =
      rare && ((options_.rareLo < run && run <= options_.rareHi) ||
               (options_.rareHi == BookAnalysisOptions::kRunLimit && count == 0));
  std::size_t shown = 0;  // characters of the evaluation text on the console
  if (treated) {
    if (options_.evalTask) {
      shown = static_cast<std::size_t>(evaluate(entryIndex));
    } else if (files_.tree != nullptr) {
      files_.tree->write(fen_);
      files_.tree->put('\n');
    }
    if (options_.stop) {
      text_.assign(shown, '\b');
      console.writeText(text_);
      ++counters_.paths;
      return;
    }
  }

  if (files_.verified != nullptr && earlier.cls != 0 && entry != nullptr && entry->cmt != 0) {
    // Both classes seen from White's side.
    int current = entry->cmt - 4;
    if (side == kWhite) current = -current;
    int previous = earlier.cls - 4;
    if (!earlier.blackToMove) previous = -previous;
    if (std::abs(current - previous) >= 2) writeVerifiedGame(earlier.ply, previous, current);
  }
  if (entry != nullptr && entry->cmt != 0) earlier = EarlierEvaluation{entry->cmt, side == kBlack, game.currentPly};

  if (count > 0 && depthLeft > 0) {
    for (int i = 0; i < count; ++i) {
      // The list is refilled below this move, so its fields are kept here.
      const BookEntry move = book.moveList().moves[i];
      ++counters_.nodes;
      char text[32];
      const int length = std::snprintf(text, sizeof text, "%d.%s%s ", options_.maxPly - depthLeft + 1,
                                       parts_.strings.squareName(move.from), parts_.strings.squareName(move.to));
      console.writeText(std::string_view(text, static_cast<std::size_t>(length)));
      playMoveFromSquares(parts_.chess, game, console, move.from, move.to);
      std::snprintf(text, sizeof text, "gm=%lu", static_cast<unsigned long>(move.n));
      game.comments.set(game.currentPly, text);
      const std::size_t index = book.findBookEntry(keys.key, keys.lock, move.from, move.to);
      walk(depthLeft - 1, static_cast<long>(move.n), run, index, earlier);
      takeBack(parts_.chess, game, console);
      if (escaped_) return;
      text_.assign(static_cast<std::size_t>(length), '\b');
      text_.append(kMoveBlanks, ' ');
      text_.append(kMoveBlanks, '\b');
      console.writeText(text_);
      count = book.lookupPosition(keys.key, keys.lock);
    }
  } else {
    ++counters_.paths;
  }

  if (shown > 0) {
    text_.assign(shown, '\b');
    text_.append(kEvaluationBlanks, ' ');
    text_.append(kEvaluationBlanks, '\b');
    console.writeText(text_);
  }
}

int BookWalk::evaluate(std::size_t entryIndex) {
  Console& console = parts_.console;
  Game& game = parts_.game;
  const int side = parts_.chess.board.side == kWhite ? kWhite : kBlack;
  // "[E] " shows the search while it runs and is rubbed out after; a pipe only gets the result.
  const bool terminal = console.isTerminal();
  if (terminal) {
    console.writeText("[E] ", colour::kSuccess);
    console.flush();
  }
  std::string pv;
  int depth = 0;
  int value = InfoParser::kNoValue;  // kept by an engine that no longer runs
  // ESC or Ctrl-C cuts the search short, not only the walk. A position an engine may crash on is
  // not sent (a book move that left a king in check).
  const bool answered =
      unfitForEngine(*parts_.chess.attacks, fen_) != nullptr ||
      analysePosition(engine_, console, timers_, fen_, options_.ms, pv, depth, value, options_.showPv, false,
                      kHashMb, [this] { return escaped_ || (escaped_ = escape_.pressed()); });
  if (terminal) console.writeText("\b\b\b\b");
  // A search cut short, or without a depth or without a score, is no evaluation: the move keeps its
  // class. A mated position has no depth, and is the clearest evaluation of all.
  const bool evaluated = !escaped_ && value != InfoParser::kNoValue && (depth > 0 || isMateValue(value));
  char text[48];
  int length = 0;
  if (evaluated) {
    const std::string shown = formatValue(value);
    length = std::snprintf(text, sizeof text, "[%c/%d,%s%s] ", side == kWhite ? 'w' : 'b', depth,
                           shown[0] == '-' ? "" : "+", shown.c_str());
  } else {
    length = std::snprintf(text, sizeof text, "[%c/%d,?0] ", side == kWhite ? 'w' : 'b', depth);
  }
  console.writeText(std::string_view(text, static_cast<std::size_t>(length)),
                    evaluated ? colour::kSuccess : colour::kError);
  console.flush();
  game.comments.set(game.currentPly, std::string_view(text, static_cast<std::size_t>(length - 1)));
  if (evaluated && entryIndex != 0) {
    // The engine speaks for the side to move, the class for the side that played the move.
    parts_.book.entries()[entryIndex].cmt = static_cast<std::uint8_t>(evaluationClass(-value));
  }
  if (files_.debug != nullptr) writeDebugGame();
  if (!answered && !engine_.running()) {
    // Every position left would get no evaluation at once.
    console.writeText("\n- the chess engine has stopped: the analysis ends here\n", colour::kError);
    escaped_ = true;
  }
  return length;
}

void BookWalk::writeLineMoves(platform::OutputFile& out, bool withComments, int commentPly, int previous) {
  const Game& game = parts_.game;
  for (int ply = 1; ply <= game.currentPly; ++ply) {
    const PlyRecord& move = game.plies[ply];
    const bool white = ((ply & 1) == 1) == (rootSide_ == kWhite);
    const char* from = parts_.strings.squareName(move.from);
    const char* to = parts_.strings.squareName(move.to);
    if (white) {
      const int number = rootSide_ == kWhite ? (ply + 1) / 2 : ply / 2 + 1;
      out.print("%d.%s%s ", number, from, to);
    } else {
      out.print("%s%s ", from, to);
    }
    if (withComments) {
      const std::string_view comment = game.comments.text(ply);
      out.print("{%.*s} ", static_cast<int>(comment.size()), comment.data());
    }
    if (ply == commentPly) {
      const std::string_view symbol = classSymbol(previous);
      out.print("{%.*s} ", static_cast<int>(symbol.size()), symbol.data());
    }
  }
}

void BookWalk::writeDebugGame() {
  platform::OutputFile& out = *files_.debug;
  out.write("[Event \"Kestrova's lines debugging\"]\n[White \"book's line\"]\n[Black \"\"]\n[Result \"*\"]\n");
  writeLineMoves(out, true, 0, 0);
  out.write("\n\n");
}

void BookWalk::writeVerifiedGame(int earlierPly, int previous, int current) {
  platform::OutputFile& out = *files_.verified;
  out.write("[Event \"Kestrova's book scanning\"]\n[White \"book's line\"]\n[Black \"\"]\n[Result \"*\"]\n");
  writeLineMoves(out, false, earlierPly, previous);
  const std::string_view symbol = classSymbol(current);
  out.print("{%.*s} ", static_cast<int>(symbol.size()), symbol.data());
  out.write("\n\n");
}

}  // namespace kestrova
