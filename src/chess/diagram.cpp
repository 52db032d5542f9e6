#include "chess/diagram.hpp"

#include "shell/app.hpp"

namespace kestrova {

std::string_view formatDiagram(StringManager& strings, const Board& board, int language) {
  static constexpr std::string_view kRowStart = "\n          +--+--+--+--+--+--+--+--+\n          |";
  static constexpr std::string_view kFrameEnd = "\n          +--+--+--+--+--+--+--+--+\n\n";
  strings.clearText();
  std::string& text = strings.text();
  for (int square = 0; square < 64; ++square) {
    if (fileOf(square) == 0) text += kRowStart;
    const int type = board.mailbox[square];
    if (type == kNoPiece) {
      text += "  |";
      continue;
    }
    text += ' ';
    strings.addRun(board.colourOn(square) == kWhite ? colour::kBright : colour::kError, text.size(), text.size());
    text += strings.pieceLetter(language, type);
    text += '|';
  }
  text += kFrameEnd;
  strings.addRunEnd();
  return text;
}

void printDiagram(App& app) {
  const std::string_view diagram = formatDiagram(app.strings, app.chess.board, app.settings.lang);
  app.console.writeText(diagram, colour::kNormal, app.strings.runs().data());
}

}  // namespace kestrova
