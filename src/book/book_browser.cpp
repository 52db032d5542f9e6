#include "book/book_browser.hpp"

#include <array>
#include <cstdio>

#include "book/book_statistics.hpp"
#include "book/book_table.hpp"
#include "chess/chess_core.hpp"
#include "chess/fen.hpp"
#include "pgn/board_view.hpp"
#include "pgn/replay.hpp"
#include "platform/console.hpp"
#include "platform/input.hpp"

namespace kestrova {

namespace {

// Only the first nine moves of a position can be chosen by their digit.
constexpr int kChoosable = 9;

std::array<char, 3> squareName(int square) {
  return {static_cast<char>('a' + (square & 7)), static_cast<char>('8' - (square >> 3)), '\0'};
}

}  // namespace

std::string formatBookMoveLine(int number, const BookEntry& entry) {
  const int performance = perf(entry);
  const int gain = eloGain(entry);
  std::array<char, 256> text;
  const int length = std::snprintf(
      text.data(), text.size(), "%d.%s%s\tn=%lu\t pc=%d\t  myElo=%d%s\tperf=%d%s\teloGain=%s%d\tcmt=%d\n", number,
      squareName(entry.from).data(), squareName(entry.to).data(), static_cast<unsigned long>(entry.n), entry.pc,
      entry.myElo, entry.myElo != 0 ? "" : "   ", performance, performance != 0 ? "" : "   ", gain >= 1 ? "+" : "",
      gain, entry.cmt);
  return std::string(text.data(), length > 0 ? static_cast<std::size_t>(length) : 0);
}

int showBookPosition(const BookParts& parts) {
  const Board& board = parts.chess.board;
  printDiagram(parts.console, parts.strings, board, parts.language);
  const BookKeys keys = parts.book.computeBookKeys(board, board.side);
  const int count = parts.book.lookupPosition(keys.key, keys.lock);
  if (count > 0) {
    parts.console.writeText("\n", colour::kDefault);
    const BookMoveList& list = parts.book.moveList();
    for (int i = 0; i < count; ++i) parts.console.writeText(formatBookMoveLine(i + 1, list.moves[i]), colour::kDefault);
  }
  return count;
}

void browseBook(const BookParts& parts) {
  setStartPosition(parts.chess, parts.game, kStartPosition);
  for (;;) {
    const int count = showBookPosition(parts);
    parts.console.writeText(
        "\n1...n\t: to chose a move and see next statistics\nb\t: to go back\nx\t: to quit the book mode\n\n"
        "your choice ? : ");
    parts.console.flush();
    const int answer = parts.input.readAnswer();
    if (answer == 'x' || answer == EOF) return;
    if (answer == 'b') {
      takeBack(parts.chess, parts.game, parts.console);
      continue;
    }
    const int choice = answer - '0';
    if (choice >= 1 && choice <= kChoosable && choice <= count) {
      const BookEntry& move = parts.book.moveList().moves[choice - 1];
      playMoveFromSquares(parts.chess, parts.game, parts.console, move.from, move.to);
    }
  }
}

}  // namespace kestrova
