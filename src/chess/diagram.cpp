#include "chess/diagram.hpp"

namespace kestrova {

void formatDiagram(const Board& board, std::string_view letters, std::string& text) {
  static constexpr std::string_view kRowStart = "\n          +--+--+--+--+--+--+--+--+\n          |";
  static constexpr std::string_view kFrameEnd = "\n          +--+--+--+--+--+--+--+--+\n\n";
  static_assert(kRowStart.size() == 48);
  text.clear();
  for (int square = 0; square < 64; ++square) {
    if (fileOf(square) == 0) text += kRowStart;
    const int type = board.mailbox[square];
    text += ' ';
    text += type == kNoPiece || static_cast<std::size_t>(type) >= letters.size() ? ' ' : letters[type];
    text += '|';
  }
  text += kFrameEnd;
}

}  // namespace kestrova
