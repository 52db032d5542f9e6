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
  std::string& text = strings.text();
  for (int square = 0; square < 64; ++square) {
    if (board.isEmpty(square)) continue;
    const std::size_t at = diagramLetterOffset(square);
    const bool white = board.colourOn(square) == kWhite;
    // Without colour the sides are told apart by the letters' case, as FEN does.
    if (!white && !console.showsColour() && text[at] >= 'A' && text[at] <= 'Z') text[at] = static_cast<char>(text[at] - 'A' + 'a');
    strings.addRun(white ? colour::kBright : colour::kError, at, at);
  }
  strings.addRunEnd();
  console.writeText(strings.text(), colour::kNormal, strings.runs().data());
}

}  // namespace kestrova
