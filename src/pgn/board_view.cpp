#include "pgn/board_view.hpp"

#include "chess/diagram.hpp"
#include "platform/console.hpp"
#include "platform/string_manager.hpp"

namespace kestrova {

void printDiagram(Console& console, StringManager& strings, const Board& board, int language) {
  char letters[kPawn + 1] = {' '};
  for (int type = kKing; type <= kPawn; ++type) letters[type] = strings.pieceLetter(language, type);
  strings.clearText();
  formatDiagram(board, std::string_view(letters, sizeof letters), strings.text());
  for (int square = 0; square < 64; ++square) {
    if (board.isEmpty(square)) continue;
    const std::size_t at = diagramLetterOffset(square);
    strings.addRun(board.colourOn(square) == kWhite ? colour::kBright : colour::kError, at, at);
  }
  strings.addRunEnd();
  console.writeText(strings.text(), colour::kNormal, strings.runs().data());
}

}  // namespace kestrova
