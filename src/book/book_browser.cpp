#include "book/book_browser.hpp"

#include <array>
#include <cstdio>

#include "book/book_statistics.hpp"
#include "book/book_table.hpp"
#include "pgn/board_view.hpp"
#include "chess/fen.hpp"
#include "chess/make_move.hpp"
#include "pgn/replay.hpp"
#include "shell/app.hpp"

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

int showBookPosition(App& app) {
  printDiagram(app.console, app.strings, app.chess.board, app.settings.lang);
  const Board& board = app.chess.board;
  const BookKeys keys = app.book.computeBookKeys(board, board.side);
  const int count = app.book.lookupPosition(keys.key, keys.lock);
  if (count > 0) {
    app.console.writeText("\n", colour::kDefault);
    const BookMoveList& list = app.book.moveList();
    for (int i = 0; i < count; ++i) app.console.writeText(formatBookMoveLine(i + 1, list.moves[i]), colour::kDefault);
  }
  return count;
}

void browseBook(App& app) {
  BookTable& book = app.book;
  setStartPosition(app.chess, app.game, kStartPosition);
  for (;;) {
    const int count = showBookPosition(app);
    app.console.writeText(
        "\n1...n\t: to chose a move and see next statistics\nb\t: to go back\nx\t: to quit the book mode\n\n"
        "your choice ? : ");
    app.console.flush();
    const int answer = app.input.readAnswer();
    if (answer == 'x' || answer == EOF) return;
    if (answer == 'b') {
      takeBack(app.chess, app.game, app.console);
      continue;
    }
    const int choice = answer - '0';
    if (choice >= 1 && choice <= kChoosable && choice <= count) {
      const BookEntry& move = book.moveList().moves[choice - 1];
      playMoveFromSquares(app.chess, app.game, app.console, move.from, move.to);
    }
  }
}

}  // namespace kestrova
